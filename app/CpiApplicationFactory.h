// The class object of "Stratigon.Application": hands every client the one automation proxy of
// the main dialog, and only while the main dialog runs. It also makes the proxies the dialog
// asks for. One for the process, owned by the application.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "ui/ApplicationState.h"
#include "ui/IAutomationProxy.h"
#include "win32/ComObject.h"

namespace stratigon::app {

class CpiApplicationFactory final : public win32::ComObject<CpiApplicationFactory, IClassFactory>,
                                    public ui::IAutomationProxyFactory {
public:
    static constexpr char kProgId[] = "Stratigon.Application";

    explicit CpiApplicationFactory(ui::ApplicationState& application);

    static std::span<const Entry> Interfaces();

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

    ui::IAutomationProxy* CreateAutomationProxy() noexcept override;

private:
    // The count is kept for COM; the application, not the count, ends the object's life.
    void OnFinalRelease() override {}
    HRESULT HandOutProxy(IUnknown* outer, REFIID iid, void** object);

    ui::ApplicationState& m_application;
};

}  // namespace stratigon::app
