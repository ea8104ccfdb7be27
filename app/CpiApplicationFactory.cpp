#include "app/CpiApplicationFactory.h"

#include <new>

#include "app/CStratigonDlgAutoProxy.h"

namespace stratigon::app {

CpiApplicationFactory::CpiApplicationFactory(ui::ApplicationState& application) : m_application(application)
{
    m_application.proxyFactory = this;
}

HRESULT CpiApplicationFactory::QueryInterface(REFIID iid, void** object) noexcept
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (!::IsEqualIID(iid, IID_IUnknown) && !::IsEqualIID(iid, IID_IClassFactory))
        return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG CpiApplicationFactory::AddRef() noexcept { return ++m_references; }

ULONG CpiApplicationFactory::Release() noexcept { return --m_references; }

HRESULT CpiApplicationFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (!m_application.mainDlgRunning || m_application.mainWindow == nullptr)
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
    IUnknown* unknown = proxy->ControllingUnknown();
    const HRESULT result = outer != nullptr ? CLASS_E_NOAGGREGATION : unknown->QueryInterface(iid, object);
    // The reference creation gave is dropped: after a success the client's is the only one,
    // after a failure a proxy made for this request goes again. One that existed is untouched.
    if (!existed)
        unknown->Release();
    return result;
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
