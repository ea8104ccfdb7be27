// The automation proxy as the dialogs know it, and who makes one: the main dialog hands its
// proxy to the class object and cuts the proxy's link to it when the dialog goes first.
#pragma once

#include <unknwn.h>

namespace stratigon::ui {

class IAutomationProxy {
public:
    // The proxy's COM identity; the class object asks it for the interface a client wants.
    virtual IUnknown* ControllingUnknown() = 0;
    // The main dialog is going: the proxy must not reach it any more.
    virtual void DetachMainDialog() = 0;

protected:
    ~IAutomationProxy() = default;
};

class IAutomationProxyFactory {
public:
    // A new proxy holding the one reference its creation gives it; null when none can be made.
    virtual IAutomationProxy* CreateAutomationProxy() noexcept = 0;

protected:
    ~IAutomationProxyFactory() = default;
};

}  // namespace stratigon::ui
