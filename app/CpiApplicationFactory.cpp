#include "app/CpiApplicationFactory.h"

#include <new>

#include "app/CStratigonDlgAutoProxy.h"
#include "win32/ComPtr.h"

namespace stratigon::app {

CpiApplicationFactory::CpiApplicationFactory(ui::ApplicationState& application)
    : ComObject(0), m_application(application)
{
    m_application.proxyFactory = this;
}

std::span<const CpiApplicationFactory::Entry> CpiApplicationFactory::Interfaces()
{
    static const Entry table[] = {
        As<IClassFactory>(IID_IUnknown),
        As<IClassFactory>(IID_IClassFactory),
    };
    return table;
}

HRESULT CpiApplicationFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (m_application.mainWindow == nullptr)
        return E_ACCESSDENIED;
    try {
        return HandOutProxy(outer, iid, object);
    } catch (...) {
        return E_ACCESSDENIED;
    }
}

// Every client gets a reference to the one proxy; the proxy's count is the clients' references.
HRESULT CpiApplicationFactory::HandOutProxy(IUnknown* outer, REFIID iid, void** object)
{
    ui::CMainWindow& dialog = *m_application.mainWindow;
    const bool existed = dialog.HasAutomationProxy();
    ui::IAutomationProxy* proxy = dialog.GetAutomationProxy();
    if (proxy == nullptr)
        return E_ACCESSDENIED;
    // A proxy made for this request comes with the reference its creation gave; it is dropped
    // here, so after a success the client's is the only one, and after a failure the proxy goes
    // again. One that existed is untouched.
    win32::ComPtr<IUnknown> created;
    if (!existed)
        created.attach(proxy->ControllingUnknown());
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    return proxy->ControllingUnknown()->QueryInterface(iid, object);
}

HRESULT CpiApplicationFactory::LockServer(BOOL lock) noexcept
{
    if (lock)
        ++m_application.lockCount;
    else
        --m_application.lockCount;
    return S_OK;
}

ui::IAutomationProxy* CpiApplicationFactory::CreateAutomationProxy() noexcept
{
    return new (std::nothrow) CStratigonDlgAutoProxy(m_application);
}

}  // namespace stratigon::app
