// Walks Stratigon.exe through the views a screenshot should show: the scanning window, the
// main dialog, the Possible Upgrades dialog and the install window, then closes it. After each view it prints the view's name and
// waits for a line on standard input, so the caller can take its picture first.
#include <cstdio>
#include <iostream>
#include <string>

#include "e2e/AppDriver.h"
#include "res/resource.h"

namespace {

using stratigon::test::AppDriver;

bool Pause(const char* view)
{
    std::printf("%s\n", view);
    std::fflush(stdout);
    std::string line;
    return static_cast<bool>(std::getline(std::cin, line));
}

}  // namespace

int main()
{
    AppDriver app;
    if (!app.Start(AppDriver::ProgramBesideThisOne("Stratigon.exe"), {})) {
        std::fprintf(stderr, "could not start Stratigon.exe\n");
        return 1;
    }
    if (app.WaitForWindow("Stratigon - Scanning") != nullptr)
        Pause("scanning");
    const HWND main = app.WaitForWindow("KVX Stratigon Utility");
    if (main == nullptr) {
        std::fprintf(stderr, "the main dialog did not appear\n");
        return 1;
    }
    Pause("main-dialog");
    AppDriver::Click(main, IDC_VIEW_UPGRADES);
    const HWND upgrades = app.WaitForWindow("Possible Stratigon Upgrades");
    if (upgrades != nullptr) {
        Pause("possible-upgrades");
        AppDriver::Click(upgrades, IDC_UPGRADE_CLOSE);
        app.WaitUntilGone("Possible Stratigon Upgrades");
    }
    AppDriver::Click(main, IDC_INSTALL_UPGRADE);
    if (const HWND install = app.WaitForWindow("Install Stratigon Upgrade"); install != nullptr) {
        AppDriver::PickListEntry(install, IDC_UPGRADE_LIST, 0);
        Pause("install-upgrade");
        AppDriver::Click(install, IDC_UPGRADE_CLOSE);
        app.WaitUntilGone("Install Stratigon Upgrade");
    }
    AppDriver::Command(main, ID_FILE_EXIT);
    const int code = app.WaitForExit();
    std::printf("exit %d\n", code);
    return code == 0 && upgrades != nullptr ? 0 : 1;
}
