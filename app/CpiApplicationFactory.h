// The class object of "Stratigon.Application": hands every client the one automation proxy of
// the main dialog, and only while the main dialog runs. It also makes the proxies the dialog
// asks for. One for the process, owned by the application.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

#include "ui/ApplicationState.h"
#include "ui/IAutomationProxy.h"

namespace stratigon::app {

class CpiApplicationFactory final : public IClassFactory, public ui::IAutomationProxyFactory {
public:
    static constexpr char kProgId[] = "Stratigon.Application";

    explicit CpiApplicationFactory(ui::ApplicationState& application);
    CpiApplicationFactory(const CpiApplicationFactory&) = delete;
    CpiApplicationFactory& operator=(const CpiApplicationFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
    // The count is kept for COM; the application, not the count, ends the object's life.
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

    ui::IAutomationProxy* CreateAutomationProxy() noexcept override;

    ULONG References() const { return m_references; }

private:
    HRESULT HandOutProxy(IUnknown* outer, REFIID iid, void** object);

    ui::ApplicationState& m_application;
    std::atomic<ULONG> m_references{0};
};

}  // namespace stratigon::app
