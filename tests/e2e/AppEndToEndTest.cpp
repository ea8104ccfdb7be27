#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "e2e/AppDriver.h"
#include "res/resource.h"
#include "support/DialogControls.h"
#include "support/TempFolder.h"

namespace stratigon::test {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = AppDriver::ProgramBesideThisOne("Stratigon.exe");
constexpr char kMainCaption[] = "KVX Stratigon Utility";
constexpr char kInstallCaption[] = "Install Stratigon Upgrade";

// Stratigon.exe on a bench file of its own, with its state file beside it.
class AppEndToEndTest : public ::testing::Test {
protected:
    void Start(const std::string& benchText)
    {
        folder.Write("bench.json", benchText);
        ASSERT_TRUE(app.Start(kProgram, {{"STRATIGON_SIM_BENCH", folder.File("bench.json")},
                                         {"STRATIGON_SIM_STATE", folder.File("state.json")}}));
    }

    HWND MainDialog()
    {
        const HWND main = app.WaitForWindow(kMainCaption);
        EXPECT_NE(main, nullptr) << "the main dialog did not appear";
        return main;
    }

    int Exit(HWND main)
    {
        AppDriver::Command(main, ID_FILE_EXIT);
        return app.WaitForExit();
    }

    TempFolder folder;
    AppDriver app;
};

TEST_F(AppEndToEndTest, AnUpgradeInstalledThroughTheInstallWindowShowsAndPersists)
{
    Start(R"({ "modules": [ { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025,
        "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1", "depth": 65536, "state_speed_mhz": 100 } ] })");
    EXPECT_NE(app.WaitForWindow("Stratigon - Scanning"), nullptr) << "the scan shows its progress window";
    const HWND main = MainDialog();
    EXPECT_EQ(app.FindWindowOfProcess("Stratigon - Scanning"), nullptr) << "and takes it away when done";
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ControlText(main, IDC_PRODUCT_NAME), "KVX7L1A");
    EXPECT_EQ(ControlText(main, IDC_MEMORY_DEPTH), "64K");

    AppDriver::Click(main, IDC_INSTALL_UPGRADE);
    const HWND install = app.WaitForWindow(kInstallCaption);
    ASSERT_NE(install, nullptr);
    const std::vector<std::string> lines = ListEntries(install, IDC_UPGRADE_LIST);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "KVX7L1AUP Option 01\t256K\t100 MHz");
    AppDriver::PickListEntry(install, IDC_UPGRADE_LIST, 0);
    AppDriver::Click(install, IDC_INSTALL);
    EXPECT_EQ(app.AnswerMessageBox(IDYES), "Install KVX7L1AUP Option 01 on the module in Mainframe, slot 3?\n\n"
                                           "The module is reset and read again afterwards.");
    EXPECT_EQ(app.AnswerMessageBox(), "You have successfully installed the upgrade:\n"
                                      "Increased from 64K@100 MHz to 256K@100 MHz");
    EXPECT_TRUE(app.WaitUntilGone(kInstallCaption));
    EXPECT_EQ(ControlText(main, IDC_MEMORY_DEPTH), "256K");
    EXPECT_EQ(ControlText(main, IDC_STATE_SPEED), "100 MHz");

    EXPECT_EQ(Exit(main), 0);
    EXPECT_NE(folder.Read("state.json").find("262144"), std::string::npos) << folder.Read("state.json");
}

TEST_F(AppEndToEndTest, PrintToFileWritesTheReportWhereTheUserSaysWithThePickedUpgrade)
{
    Start(R"({ "modules": [ { "interface": 1, "slot": 6, "logical_address": 44, "model_code": 1025,
        "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1" } ] })");
    const HWND main = MainDialog();
    ASSERT_NE(main, nullptr);
    AppDriver::Click(main, IDC_VIEW_UPGRADES);
    const HWND upgrades = app.WaitForWindow("Possible Stratigon Upgrades");
    ASSERT_NE(upgrades, nullptr);
    EXPECT_EQ(ControlText(upgrades, IDC_UPGRADE_FRAME), "Expansion-1");
    AppDriver::PickListEntry(upgrades, IDC_UPGRADE_LIST, 2);
    AppDriver::Click(upgrades, IDC_PRINT_TO_FILE);

    const HWND saveAs = app.WaitForWindow("Save As");
    ASSERT_NE(saveAs, nullptr);
    AppDriver::TypeFileName(saveAs, folder.File("order.txt"));
    AppDriver::Click(saveAs, IDOK);
    EXPECT_TRUE(app.WaitUntilGone("Save As"));
    AppDriver::Click(upgrades, IDC_UPGRADE_CLOSE);
    EXPECT_TRUE(app.WaitUntilGone("Possible Stratigon Upgrades"));
    EXPECT_EQ(Exit(main), 0);

    const std::string text = folder.Read("order.txt");
    EXPECT_NE(text.find("#\t\tKVX Stratigon Upgrade Information File\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Upgrade option Selected:\r\n\r\n\tUpgrade Kit & Option\tMemory Depth\tState Speed\r\n"
                        "\tKVX7L1AUP Option 05\t256K\t\t200 MHz"),
              std::string::npos)
        << text;
}

TEST_F(AppEndToEndTest, AScanBlockedByAnotherProgramsLockEndsTheProgramQuietly)
{
    Start(R"({ "modules": [ { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025,
        "faults": { "exclusive_lock": true } } ] })");
    app.WatchWindows();
    EXPECT_EQ(app.AnswerMessageBox(), "Another application has VISA locked. Close it before running Stratigon");
    EXPECT_EQ(app.WaitForExit(), 0);
    EXPECT_EQ(app.CaptionsSeen().count(kMainCaption), 0u) << "the main dialog never opened";
}

TEST_F(AppEndToEndTest, WithoutAVisaLibraryTheProgramSaysSoAndEnds)
{
    // A copy of the program in a folder of its own has no simulated bench beside it, and Wine
    // has no VISA library of its own.
    const fs::path lonely = folder.Path() / "Stratigon.exe";
    fs::copy_file(kProgram, lonely);
    ASSERT_TRUE(app.Start(lonely.string(), {}));
    app.WatchWindows();
    // The box is answered only once the watcher has seen it, however fast it comes.
    EXPECT_TRUE(AppDriver::WaitUntil([&] { return app.CaptionsSeen().count("Stratigon") > 0; }));
    const std::string text = app.AnswerMessageBox();
    EXPECT_EQ(text.rfind("No VISA library was found on this computer", 0), 0u) << text;
    EXPECT_NE(text.find("visa32.dll"), std::string::npos) << text;
    EXPECT_EQ(app.WaitForExit(), 0);
    // Watched while the program ran: looking after it has ended would find nothing anyway.
    EXPECT_EQ(app.CaptionsSeen(), std::set<std::string>{"Stratigon"}) << "only the message box, no scanning window";
}

TEST_F(AppEndToEndTest, AnEmptyBenchShowsThatThereIsNoModule)
{
    Start(R"({ "modules": [] })");
    const HWND main = MainDialog();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsShown(main, IDC_NO_MODULE));
    EXPECT_FALSE(IsShown(main, IDC_PRODUCT_LABEL));
    EXPECT_TRUE(ComboEntries(main, IDC_FRAME_LIST).empty());
    EXPECT_FALSE(IsEnabledControl(main, IDC_FRAME_LIST));
    EXPECT_FALSE(IsEnabledControl(main, IDC_VIEW_UPGRADES));
    EXPECT_FALSE(IsEnabledControl(main, IDC_INSTALL_UPGRADE));
    EXPECT_EQ(Exit(main), 0);
}

TEST_F(AppEndToEndTest, AFrameWithoutModulesIsReportedAndTheCloseBoxEndsTheProgram)
{
    Start(R"({ "modules": [
        { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025 },
        { "interface": 2, "slot": 5, "logical_address": 80, "model_code": 1025,
          "idn": "QUORVALIS,KVX7N2,B000123,FVER:4.2.1" } ] })");
    const HWND main = MainDialog();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ComboEntries(main, IDC_FRAME_LIST),
              (std::vector<std::string>{"Mainframe", "Expansion-1", "Expansion-2"}));
    AppDriver::PickComboEntry(main, IDC_FRAME_LIST, 1);
    EXPECT_EQ(app.AnswerMessageBox(), "No module to Stratigon.");
    EXPECT_TRUE(IsShown(main, IDC_NO_MODULE));
    EXPECT_FALSE(IsEnabledControl(main, IDC_INSTALL_UPGRADE));

    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0);
}

// Keys as the user types them, to whichever window has the keyboard.
void Press(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (const WORD key : keys)
        inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
    for (auto key = keys.end(); key != keys.begin();)
        inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {*--key, 0, KEYEVENTF_KEYUP, 0, 0}}});
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST_F(AppEndToEndTest, TheStatusBarFollowsTheMenusAsTheUserMovesThroughThem)
{
    Start(R"({ "modules": [ { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025 } ] })");
    const HWND main = MainDialog();
    ASSERT_NE(main, nullptr);
    const HWND bar = ::GetDlgItem(main, 0xE801);
    const auto statusBecomes = [&](const std::string& text) {
        return AppDriver::WaitUntil([&] { return WindowText(bar) == text; }, std::chrono::seconds(5));
    };
    EXPECT_TRUE(statusBecomes("For Help, press F1")) << WindowText(bar);
    const struct {
        std::initializer_list<WORD> keys;
        const char* status;
    } steps[] = {
        {{VK_MENU, 'H'}, "Opens the help topics browser"},
        {{VK_UP}, "Displays product information"},
        {{VK_UP}, "Displays technical support information from Quorvalis"},
        {{VK_UP}, "Displays help for a selected control or object"},
        {{VK_LEFT}, "Shows all possible upgrades for this module"},
        {{VK_MENU}, "For Help, press F1"},
    };
    for (const auto& step : steps) {
        ::SetForegroundWindow(main);
        Press(step.keys);
        EXPECT_TRUE(statusBecomes(step.status)) << "expected \"" << step.status << "\", shows \"" << WindowText(bar) << "\"";
    }
    EXPECT_EQ(Exit(main), 0);
}

// The control with the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void ClickAt(POINT screen)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN) - 1, height = ::GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = screen.x * 65535 / width;
        input.mi.dy = screen.y * 65535 / height;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(3, inputs, sizeof(INPUT));
}

TEST_F(AppEndToEndTest, F1AndWhatsThisShowTheControlsPopupAndAKeyClosesIt)
{
    Start(R"({ "modules": [ { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025 },
                            { "interface": 0, "slot": 5, "logical_address": 40, "model_code": 1025 } ] })");
    const HWND main = MainDialog();
    ASSERT_NE(main, nullptr);
    const auto popup = [&] { return app.FindWindowOfProcess("StratigonHelpPopup", true); };
    RECT frames{};
    ::GetWindowRect(::GetDlgItem(main, IDC_FRAME_LIST), &frames);
    const struct {
        const char* what;
        std::function<void()> ask;
        const char* saysSomethingOf;
    } cases[] = {
        {"F1 on the slot list", [&] {
             for (int tabs = 0; tabs < 5 && FocusOf(main) != ::GetDlgItem(main, IDC_SLOT_LIST); ++tabs)
                 Press({VK_TAB});
             Press({VK_F1});
         }, "slot"},
        {"What's This on the frame list", [&] {
             Press({VK_MENU, 'H'});
             Press({'W'});
             ::Sleep(300);
             ClickAt(POINT{(frames.left + frames.right) / 2, (frames.top + frames.bottom) / 2});
         }, "frame"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        ::SetForegroundWindow(main);
        test.ask();
        ASSERT_TRUE(AppDriver::WaitUntil([&] { return popup() != nullptr; }, std::chrono::seconds(10)));
        EXPECT_NE(WindowText(popup()).find(test.saysSomethingOf), std::string::npos) << WindowText(popup());
        Press({VK_ESCAPE});
        EXPECT_TRUE(AppDriver::WaitUntil([&] { return popup() == nullptr; }, std::chrono::seconds(10)));
    }
    EXPECT_EQ(Exit(main), 0);
}

}  // namespace
}  // namespace stratigon::test
