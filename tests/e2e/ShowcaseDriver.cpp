// Walks Stratigon.exe through the views a screenshot should show: the scanning window, the
// main dialog, a What's This popup, the About box, the Possible Upgrades dialog, the install window and the main dialog after the
// script sample has upgraded a module through automation, then closes it. After each view it
// prints the view's name and waits for a line on standard input, so the caller can take its
// picture first. Its one argument is the folder for the pictures, where the bench's changes and
// the script's report go too, so the default bench keeps its own state.
#include <cstdio>
#include <fstream>
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

// Runs a script sample against the running program and prints what it said.
void RunScript(const std::string& script, const std::string& arguments, const std::string& out)
{
    const std::string command =
        "cscript.exe //nologo \"" + AppDriver::ProgramBesideThisOne(script) + "\" " + arguments;
    std::printf("Running the script sample: cscript //nologo %s %s\n", script.c_str(), arguments.c_str());
    const int status = AppDriver::RunToEnd(command, out + "\\automation.txt");
    std::ifstream said(out + "\\automation.txt");
    for (std::string line; std::getline(said, line);)
        std::printf("  %s\n", line.c_str());
    std::printf("  (exit code %d)\n", status);
}

// The upgrade of one module by its serial number, then the order list of the whole rack.
void RunScriptSamples(const std::string& out)
{
    RunScript("UpgradeBySerial.vbs", "B012345 KVX7L1AUP-Opt-05 " + out + "\\KVXUpgradeInfo.txt", out);
    RunScript("Inventory.vbs", out + "\\inventory.csv", out);
}

int main(int argc, char** argv)
{
    const std::string out = argc > 1 ? argv[1] : ".";
    AppDriver app;
    if (!app.Start(AppDriver::ProgramBesideThisOne("Stratigon.exe"), {{"STRATIGON_SIM_STATE", out + "\\showcase-state.json"},
                                                                     {"STRATIGON_JOURNAL", out + "\\install-journal.csv"}})) {
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
    // What's This, then a click on the frame list: the frame list's popup.
    AppDriver::Command(main, ID_HELP_WHATS_THIS);
    RECT frames{};
    ::GetWindowRect(::GetDlgItem(main, IDC_FRAME_LIST), &frames);
    POINT click{(frames.left + frames.right) / 2, (frames.top + frames.bottom) / 2};
    ::ScreenToClient(main, &click);
    ::PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
    if (AppDriver::WaitUntil([&] { return app.FindWindowOfProcess("StratigonHelpPopup", true) != nullptr; },
                             std::chrono::seconds(10))) {
        Pause("help-popup");
        ::PostMessageA(app.FindWindowOfProcess("StratigonHelpPopup", true), WM_KEYDOWN, VK_ESCAPE, 0);
    }
    AppDriver::Command(main, ID_HELP_ABOUT);
    if (const HWND about = app.WaitForWindow("About KVX Stratigon Utility"); about != nullptr) {
        Pause("about");
        AppDriver::Click(about, IDOK);
        app.WaitUntilGone("About KVX Stratigon Utility");
    }
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
    RunScriptSamples(out);
    Pause("automation");
    AppDriver::Command(main, ID_FILE_EXIT);
    const int code = app.WaitForExit();
    std::printf("exit %d\n", code);
    return code == 0 && upgrades != nullptr ? 0 : 1;
}
