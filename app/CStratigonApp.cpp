#include "app/CStratigonApp.h"

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "Stratigon.h"
#include "report/UnfinishedInstallations.h"
#include "res/resource.h"
#include "win32/AnsiText.h"
#include "win32/ProgramPath.h"

namespace stratigon::app {

CStratigonApp::CStratigonApp() : m_help(m_htmlHelp, win32::AnsiPath(win32::ProgramFolder()))
{
    m_state.versions = &m_versions;
    m_state.help = &m_help;
    m_state.alerts = &m_messages;
}

CStratigonApp::~CStratigonApp() = default;

int CStratigonApp::Run()
{
    StartUp();
    return ShutDown();
}

bool CStratigonApp::StartUp()
{
    if (!InitializeSockets()) {
        m_messages.ShowMessage(win32::LoadResourceString(IDS_SOCKETS_INIT_FAILED).c_str());
        return false;
    }
    if (!InitializeOle()) {
        m_messages.ShowMessage(win32::LoadResourceString(IDS_OLE_INIT_FAILED).c_str());
        return false;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    // From here on creation requests reach the class object; it refuses them until the main
    // dialog runs. Without a registration the program still serves a person.
    m_classRegistration.Register(CLSID_StratigonApplication, &m_classObject);
    if (!LoadVisaLibrary() || !DiscoverModules())
        return false;
    m_scanningDlg.DestroyWindow();
    m_state.startupNotice = ReportUnfinishedInstallations(m_journal);
    RunMainDialog();
    return false;
}

bool CStratigonApp::InitializeSockets()
{
    WSADATA data{};
    m_socketsStarted = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    return m_socketsStarted;
}

bool CStratigonApp::InitializeOle()
{
    m_oleStarted = SUCCEEDED(::OleInitialize(nullptr));
    return m_oleStarted;
}

bool CStratigonApp::LoadVisaLibrary()
{
    if (m_visa.LoadDefault())
        return true;
    const std::string text = "No VISA library was found on this computer, so no instrument can be reached.\n\n" +
                             m_visa.ErrorText() + "\n\nInstall the VISA library of your VXI interface and start Stratigon again.";
    m_messages.ShowMessage(text.c_str());
    return false;
}

bool CStratigonApp::DiscoverModules()
{
    m_scanningDlg.Open();
    m_sleeper.Sleep(CVxiBus::kStartDelayMs);
    m_pModule = std::make_unique<CModule>(m_visa.Functions(), m_messages, m_sleeper, m_clock, m_random);
    return m_pModule->Scan(m_scanningDlg);
}

void CStratigonApp::RunMainDialog()
{
    ui::CMainWindow mainWindow(*m_pModule, m_messages, m_report, m_state);
    const ui::CMainWindowBinding running(m_state, mainWindow);
    mainWindow.DoModal(nullptr);
}

int CStratigonApp::ShutDown()
{
    if (m_pModule) {
        m_pModule->Close();
        m_pModule.reset();
    }
    m_classRegistration.Revoke();
    m_scanningDlg.DestroyWindow();
    if (m_oleStarted)
        ::OleUninitialize();
    if (m_socketsStarted)
        ::WSACleanup();
    m_oleStarted = m_socketsStarted = false;
    return 0;
}

}  // namespace stratigon::app
