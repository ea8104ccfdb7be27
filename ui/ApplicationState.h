// What the dialogs and the automation objects know of the application that runs them: whether
// the main dialog runs, the link to it, and the count of reasons for a server to stay alive.
#pragma once

#include <atomic>
#include <string>

namespace stratigon {
class IVersionResources;
}

namespace stratigon::ui {

class CAutomationAlerts;
class CHelpRouting;
class CMainWindow;
class IAutomationProxyFactory;

// The caption of the program's message boxes and the source of its automation errors.
inline constexpr char kApplicationName[] = "Stratigon";

struct ApplicationState {
    // The application's main window while the main dialog runs; null before and after. Clients
    // are served only while it is set.
    CMainWindow* mainWindow = nullptr;
    // Proxies and LockServer calls count here. The count neither ends the program nor keeps
    // it running: the main dialog decides that.
    std::atomic<long> lockCount{0};
    // Null: the main dialog hands out no proxy.
    IAutomationProxyFactory* proxyFactory = nullptr;
    // How the About box reads the program's version texts; null: it shows its resource texts.
    IVersionResources* versions = nullptr;
    // Where help goes; null: the help commands do nothing.
    CHelpRouting* help = nullptr;
    // The program's message sink, which keeps automation calls from waiting for a person when
    // a client asks; the automation objects need it.
    CAutomationAlerts* alerts = nullptr;
    // What the main dialog tells the person once it runs (installations that did not finish);
    // shown then, so that automation clients are served meanwhile. Empty: nothing.
    std::string startupNotice;
};

// The main dialog bound to the application while it runs: the class object hands out proxies,
// and the close check and the client indicator see them, only within the binding's life,
// which ends on every path out of the code that runs the dialog.
class CMainWindowBinding {
public:
    CMainWindowBinding(ApplicationState& application, CMainWindow& window) : m_application(application)
    {
        m_application.mainWindow = &window;
    }
    ~CMainWindowBinding()
    {
        m_application.mainWindow = nullptr;
    }
    CMainWindowBinding(const CMainWindowBinding&) = delete;
    CMainWindowBinding& operator=(const CMainWindowBinding&) = delete;

private:
    ApplicationState& m_application;
};

}  // namespace stratigon::ui
