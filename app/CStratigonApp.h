// The application: initialises sockets and OLE, registers the automation class object, scans
// for the modules behind the scanning dialog, runs the main dialog, and releases the
// instruments and withdraws the class object when it ends.
#pragma once

#include <memory>

#include "app/CClassObjectRegistration.h"
#include "app/CpiApplicationFactory.h"
#include "catalogue/InstallJournalBinding.h"
#include "instrument/CVisaLibrary.h"
#include "module/CModule.h"
#include "module/DeviceRandomSource.h"
#include "module/SystemClock.h"
#include "report/CInstallJournalFile.h"
#include "report/CUpgradeInfoFile.h"
#include "report/SystemLocalDate.h"
#include "ui/CAutomationAlerts.h"
#include "ui/CHelpRouting.h"
#include "ui/CMainWindow.h"
#include "ui/CMessageBoxSink.h"
#include "ui/CScanningDlg.h"
#include "win32/CHtmlHelpLoader.h"
#include "win32/CWin32FolderLookup.h"
#include "win32/CWin32VersionResources.h"

namespace stratigon::app {

class CStratigonApp {
public:
    CStratigonApp();
    ~CStratigonApp();
    CStratigonApp(const CStratigonApp&) = delete;
    CStratigonApp& operator=(const CStratigonApp&) = delete;

    // Runs the program from start-up to shutdown; the process's exit code.
    int Run();
    // Always false: the program has no message loop of its own besides the main dialog's.
    bool StartUp();
    // Always 0, the process's exit code.
    int ShutDown();

    ui::ApplicationState& State() { return m_state; }

private:
    bool InitializeSockets();
    bool InitializeOle();
    bool LoadVisaLibrary();
    bool DiscoverModules();
    void RunMainDialog();

    ui::CMessageBoxSink m_messageBoxes;
    // Every text for the user goes here: a box, unless an automation client asked for none.
    ui::CAutomationAlerts m_messages{m_messageBoxes};
    ThreadSleeper m_sleeper;
    SystemClock m_clock;
    DeviceRandomSource m_random;
    CVisaLibrary m_visa;
    win32::CWin32VersionResources m_versions;
    SystemLocalDate m_today;
    win32::CWin32FolderLookup m_folders;
    CUpgradeInfoFile m_report{m_messages, m_versions, m_today, m_folders};
    CInstallJournalFile m_journal{CInstallJournalFile::DefaultPath()};
    InstallJournalBinding m_journalBinding{m_journal};
    win32::CHtmlHelpLoader m_htmlHelp;
    ui::CHelpRouting m_help;
    ui::CScanningDlg m_scanningDlg;
    std::unique_ptr<CModule> m_pModule;
    ui::ApplicationState m_state;
    // Declared after the state it serves and before its registration, so that it outlives
    // both that and the clients COM still holds until OLE is shut down.
    CpiApplicationFactory m_classObject{m_state};
    CClassObjectRegistration m_classRegistration;
    bool m_socketsStarted = false;
    bool m_oleStarted = false;
};

}  // namespace stratigon::app
