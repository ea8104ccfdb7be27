#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "module/ModuleCodes.h"
#include "res/resource.h"
#include "simulator/SimulatorControl.h"
#include "support/SimulatedBench.h"
#include "ui/CMainWindow.h"
#include "ui/SharedDialogPosition.h"
#include "ui/UiTestSupport.h"
#include "win32/BitmapDrawing.h"
#include "win32/DpiScale.h"
#include "win32/FrameworkMessages.h"
#include "win32/GdiGuards.h"

namespace stratigon::test {
namespace {

using ui::CMainWindow;

const std::string kPatternGenerator =
    R"({ "interface": 1, "slot": 4, "logical_address": 40, "model_code": 1985, "kind": "pattern-generator",
         "idn": "QUORVALIS,KVX7PG2,C100200,FW:2.0.5" })";

constexpr int kAnalyzerLabels[] = {IDC_PRODUCT_LABEL, IDC_SERIAL_LABEL,  IDC_UNIQUE_ID_LABEL, IDC_DEPTH_LABEL,
                                   IDC_SPEED_LABEL,   IDC_TIMING_LABEL, IDC_CHANNELS_LABEL};

class MainWindowTest : public ::testing::Test {
protected:
    void Open(const std::string& benchText)
    {
        // The bench before goes first: its end resets the simulator.
        window.reset();
        report.reset();
        bench.reset();
        bench = std::make_unique<SimulatedBench>(benchText);
        ASSERT_TRUE(bench->Scanned());
        report = std::make_unique<TestReport>(bench->sink);
        window = win32::MakeDialog<CMainWindow>(bench->Module(), bench->sink, report->writer, application);
        ASSERT_TRUE(window->Create(nullptr));
        dialog = window->GetHwnd();
    }

    void TearDown() override
    {
        window.reset();
        PumpMessages();
    }

    std::vector<std::string> Labels() const
    {
        std::vector<std::string> shown;
        for (int id : kAnalyzerLabels)
            if (IsShown(dialog, id))
                shown.push_back(ControlText(dialog, id));
        if (IsShown(dialog, IDC_NO_MODULE))
            shown.push_back(ControlText(dialog, IDC_NO_MODULE));
        return shown;
    }

    bool UpgradeCommandsEnabled() const
    {
        const bool buttons = IsEnabledControl(dialog, IDC_VIEW_UPGRADES) && IsEnabledControl(dialog, IDC_INSTALL_UPGRADE);
        EXPECT_EQ(buttons, IsEnabledControl(dialog, IDC_VIEW_UPGRADES) || IsEnabledControl(dialog, IDC_INSTALL_UPGRADE))
            << "the two buttons are enabled together";
        return buttons;
    }

    // What the File menu offers when it opens.
    std::pair<bool, bool> FileMenuEntriesEnabled() const
    {
        const HMENU file = ::GetSubMenu(::GetMenu(dialog), 0);
        ::SendMessageA(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
        const auto enabled = [&](UINT id) { return (::GetMenuState(file, id, MF_BYCOMMAND) & MF_GRAYED) == 0; };
        return {enabled(ID_FILE_VIEW_UPGRADES), enabled(ID_FILE_INSTALL_UPGRADE)};
    }

    std::string Status() const { return window->StatusBar().StatusText(); }

    // What the menus tell their owner while the user moves through them.
    void Highlight(HMENU menu, UINT item, UINT flags) const
    {
        ::SendMessageA(dialog, WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(menu));
    }
    void MenuIdle() const { ::SendMessageA(dialog, WM_ENTERIDLE, MSGF_MENU, 0); }
    void CloseMenu() const { ::SendMessageA(dialog, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); }

    ui::ApplicationState application;
    std::unique_ptr<SimulatedBench> bench;
    std::unique_ptr<TestReport> report;
    win32::UniqueDialog<CMainWindow> window;
    HWND dialog = nullptr;
};

const std::vector<std::string> kAllAnalyzerLabels = {"Product Type:", "Serial Number:", "Unique ID:", "Memory Depth:",
                                                     "State Speed:",  "Timing Speed:",  "Channels:"};
const std::vector<std::string> kNoModuleLabel = {"- No module to Stratigon -"};

TEST_F(MainWindowTest, OneModuleShowsItsConfigurationWithBothListsDisabled)
{
    Open(Bench({Analyzer(0, 3)}));
    EXPECT_EQ(ComboEntries(dialog, IDC_FRAME_LIST), std::vector<std::string>{"Mainframe"});
    EXPECT_EQ(ComboEntries(dialog, IDC_SLOT_LIST), std::vector<std::string>{"3"});
    EXPECT_FALSE(IsEnabledControl(dialog, IDC_FRAME_LIST));
    EXPECT_FALSE(IsEnabledControl(dialog, IDC_FRAME_LABEL));
    EXPECT_FALSE(IsEnabledControl(dialog, IDC_SLOT_LIST));
    EXPECT_FALSE(IsEnabledControl(dialog, IDC_SLOT_LABEL));
    EXPECT_TRUE(UpgradeCommandsEnabled());
    EXPECT_EQ(FileMenuEntriesEnabled(), std::make_pair(true, true));
    EXPECT_EQ(Labels(), kAllAnalyzerLabels);
    EXPECT_EQ(ControlText(dialog, IDC_PRODUCT_NAME), "KVX7L1A");
    EXPECT_EQ(ControlText(dialog, IDC_SERIAL_NUMBER), "B012345");
    EXPECT_EQ(ControlText(dialog, IDC_MEMORY_DEPTH), "64K");
    EXPECT_EQ(ControlText(dialog, IDC_STATE_SPEED), "100 MHz");
    EXPECT_EQ(ControlText(dialog, IDC_TIMING_SPEED), "8 GHz / 400 MHz");
    EXPECT_EQ(ControlText(dialog, IDC_CHANNELS), "136");
    EXPECT_EQ(ControlText(dialog, IDC_UNIQUE_ID), bench->Module().GetUniqueId());
    EXPECT_TRUE(bench->sink.messages.empty());
}

TEST_F(MainWindowTest, AFrameWithoutModulesSaysSoAndDisablesTheUpgradeCommands)
{
    Open(Bench({Analyzer(0, 3), Analyzer(2, 5, "KVX7N2", "B000123")}));
    EXPECT_EQ(ComboEntries(dialog, IDC_FRAME_LIST), (std::vector<std::string>{"Mainframe", "Expansion-1", "Expansion-2"}));
    EXPECT_TRUE(IsEnabledControl(dialog, IDC_FRAME_LIST));

    PickComboEntry(dialog, IDC_FRAME_LIST, 1);
    EXPECT_EQ(bench->sink.messages, std::vector<std::string>{"No module to Stratigon."});
    EXPECT_EQ(Labels(), kNoModuleLabel);
    EXPECT_TRUE(ComboEntries(dialog, IDC_SLOT_LIST).empty());
    EXPECT_FALSE(UpgradeCommandsEnabled());
    EXPECT_EQ(FileMenuEntriesEnabled(), std::make_pair(false, false));
    EXPECT_EQ(ControlText(dialog, IDC_PRODUCT_NAME), "");
    EXPECT_EQ(window->SelectedModule(), CMainWindow::kNoModule);

    PickComboEntry(dialog, IDC_FRAME_LIST, 2);
    EXPECT_EQ(ControlText(dialog, IDC_PRODUCT_NAME), "KVX7N2");
    EXPECT_EQ(ComboEntries(dialog, IDC_SLOT_LIST), std::vector<std::string>{"5"});
    EXPECT_TRUE(UpgradeCommandsEnabled());
}

TEST_F(MainWindowTest, APatternGeneratorHidesTimingSpeedAndChannels)
{
    Open(Bench({kPatternGenerator}));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Product Type:", "Serial Number:", "Unique ID:", "Memory Depth:",
                                                  "State Speed:"}));
    EXPECT_EQ(ControlText(dialog, IDC_STATE_SPEED), "134 MHz");
    EXPECT_EQ(ControlText(dialog, IDC_MEMORY_DEPTH), "256K");
    EXPECT_EQ(ControlText(dialog, IDC_TIMING_SPEED), "");
    EXPECT_EQ(ControlText(dialog, IDC_CHANNELS), "");
}

TEST_F(MainWindowTest, AModuleThatCannotBeIdentifiedShowsTheNoModuleText)
{
    Open(Bench({Analyzer(0, 3, "XYZ100")}));
    EXPECT_EQ(window->SelectionStatus(), 108);
    EXPECT_NE(window->SelectedModule(), CMainWindow::kNoModule);
    EXPECT_EQ(Labels(), kNoModuleLabel);
    EXPECT_FALSE(UpgradeCommandsEnabled());
}

TEST_F(MainWindowTest, AnUnusableModuleShowsWhatWasReadButNoUpgradeCommands)
{
    Open(Bench({Analyzer(0, 3, "KVX7L1A", "B12")}));
    EXPECT_EQ(window->SelectionStatus(), 117);
    EXPECT_EQ(ControlText(dialog, IDC_PRODUCT_NAME), "KVX7L1A");
    EXPECT_EQ(ControlText(dialog, IDC_SERIAL_NUMBER), "B12");
    EXPECT_EQ(Labels(), kAllAnalyzerLabels);
    EXPECT_FALSE(UpgradeCommandsEnabled());
}

TEST_F(MainWindowTest, AnEmptyBenchShowsNoModuleWithEverythingDisabled)
{
    Open(R"({ "modules": [] })");
    EXPECT_TRUE(ComboEntries(dialog, IDC_FRAME_LIST).empty());
    EXPECT_TRUE(ComboEntries(dialog, IDC_SLOT_LIST).empty());
    EXPECT_FALSE(IsEnabledControl(dialog, IDC_FRAME_LIST));
    EXPECT_FALSE(IsEnabledControl(dialog, IDC_SLOT_LIST));
    EXPECT_EQ(Labels(), kNoModuleLabel);
    EXPECT_FALSE(UpgradeCommandsEnabled());
    EXPECT_EQ(window->SelectionStatus(), 109);
    EXPECT_TRUE(bench->sink.messages.empty());
}

TEST_F(MainWindowTest, PickingTheSelectedFrameAgainReadsNothing)
{
    Open(Bench({Analyzer(0, 3), Analyzer(1, 2, "KVX7N2", "B000123")}));
    sim::ClearTrace();
    PickComboEntry(dialog, IDC_FRAME_LIST, 0);
    EXPECT_TRUE(sim::TraceLines().empty());
    EXPECT_EQ(ControlText(dialog, IDC_PRODUCT_NAME), "KVX7L1A");
}

TEST_F(MainWindowTest, PickingASlotReadsThatModule)
{
    Open(Bench({Analyzer(0, 3), Analyzer(0, 7, "KVX7N2", "B000123"), kPatternGenerator}));
    EXPECT_EQ(ComboEntries(dialog, IDC_SLOT_LIST), (std::vector<std::string>{"3", "7"}));
    PickComboEntry(dialog, IDC_SLOT_LIST, 1);
    EXPECT_EQ(ControlText(dialog, IDC_PRODUCT_NAME), "KVX7N2");
    EXPECT_EQ(ControlText(dialog, IDC_SERIAL_NUMBER), "B000123");
    EXPECT_EQ(window->SelectedModule(), bench->SessionAt(1));
}

TEST_F(MainWindowTest, EnterAndEscapeLeaveTheDialogOpen)
{
    Open(Bench({Analyzer(0, 3)}));
    ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    PumpMessages();
    EXPECT_TRUE(::IsWindow(dialog));
}

TEST_F(MainWindowTest, TheKeyboardReachesEveryControlInReadingOrder)
{
    Open(Bench({Analyzer(0, 3), Analyzer(0, 5, "KVX7N2", "B000123"), Analyzer(1, 2)}));
    ExpectKeyboard(dialog, {IDC_FRAME_LIST, IDC_SLOT_LIST, IDC_VIEW_UPGRADES, IDC_INSTALL_UPGRADE},
                   {{'R', IDC_INSTALL_UPGRADE, IDC_FRAME_LIST, 0}, {'S', IDC_FRAME_LIST, IDC_SLOT_LIST, 0},
                    {'V', IDC_FRAME_LIST, 0, IDC_VIEW_UPGRADES}, {'I', IDC_FRAME_LIST, 0, IDC_INSTALL_UPGRADE},
                    {VK_RETURN, IDC_FRAME_LIST, 0, IDOK}, {VK_ESCAPE, IDC_FRAME_LIST, 0, IDCANCEL}});
}

TEST_F(MainWindowTest, ExitTakesTheSamePathAsTheCloseBox)
{
    Open(Bench({Analyzer(0, 3)}));
    ::SendMessageA(dialog, WM_COMMAND, ID_FILE_EXIT, 0);
    EXPECT_TRUE(::IsWindow(dialog)) << "the close request is posted, not handled at once";
    PumpMessages();
    EXPECT_FALSE(::IsWindow(dialog));

    Open(Bench({Analyzer(0, 3)}));
    ::SendMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(dialog));
}

TEST_F(MainWindowTest, InitialisationPlacesChildDialogsBelowRightOfTheMainDialog)
{
    Open(Bench({Analyzer(0, 3)}));
    RECT bounds{};
    ::GetWindowRect(dialog, &bounds);
    EXPECT_EQ(ui::SharedDialogPosition.x, bounds.left + 100);
    EXPECT_EQ(ui::SharedDialogPosition.y, bounds.top + 100);
}

TEST_F(MainWindowTest, PossibleUpgradesOpenForTheSelectedModuleAndChangeNothing)
{
    Open(Bench({Analyzer(0, 3)}));
    std::vector<std::string> lines;
    std::string frame, slot;
    const bool opened = WhileModal(
        "Possible Stratigon Upgrades", [&] { ClickButton(dialog, IDC_VIEW_UPGRADES); },
        [&](HWND upgrades) {
            lines = ListEntries(upgrades, IDC_UPGRADE_LIST);
            frame = ControlText(upgrades, IDC_UPGRADE_FRAME);
            slot = ControlText(upgrades, IDC_UPGRADE_SLOT);
            ClickButton(upgrades, IDC_UPGRADE_CLOSE);
        });
    ASSERT_TRUE(opened);
    EXPECT_EQ(frame, "Mainframe");
    EXPECT_EQ(slot, "3");
    EXPECT_EQ(lines, (std::vector<std::string>{"KVX7L1AUP Option 01\t256K\t100 MHz", "KVX7L1AUP Option 04\t64K\t200 MHz",
                                               "KVX7L1AUP Option 05\t256K\t200 MHz"}));
    EXPECT_EQ(ControlText(dialog, IDC_MEMORY_DEPTH), "64K");
}

TEST_F(MainWindowTest, AnUpgradeInstalledThroughTheInstallWindowShowsInTheMainDialog)
{
    Open(Bench({Analyzer(0, 3)}));
    bool closedItself = false;
    const bool opened = WhileModal(
        "Install Stratigon Upgrade", [&] { ClickButton(dialog, IDC_INSTALL_UPGRADE); },
        [&](HWND install) {
            EXPECT_FALSE(IsEnabledControl(install, IDC_INSTALL)) << "nothing is picked yet";
            PickListEntry(install, IDC_UPGRADE_LIST, 2);
            AnswerQuestion([&] { ClickButton(install, IDC_INSTALL); }, IDYES);
            closedItself = !::IsWindow(install) || !::IsWindowVisible(install);
            if (!closedItself)
                ClickButton(install, IDC_UPGRADE_CLOSE);
        });
    ASSERT_TRUE(opened);
    EXPECT_TRUE(closedItself);
    EXPECT_EQ(bench->sink.messages, std::vector<std::string>{"You have successfully installed the upgrade:\n"
                                                             "Increased from 64K@100 MHz to 256K@200 MHz"});
    EXPECT_EQ(ControlText(dialog, IDC_MEMORY_DEPTH), "256K");
    EXPECT_EQ(ControlText(dialog, IDC_STATE_SPEED), "200 MHz");
}

TEST_F(MainWindowTest, AFailedInstallationKeepsTheInstallWindowOpen)
{
    Open(Bench({R"({ "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025,
                     "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1", "faults": { "refuse": ["SYST:CONF:DEPT"] } })"}));
    bool stayedOpen = false;
    WhileModal(
        "Install Stratigon Upgrade", [&] { ClickButton(dialog, IDC_INSTALL_UPGRADE); },
        [&](HWND install) {
            PickListEntry(install, IDC_UPGRADE_LIST, 0);
            AnswerQuestion([&] { ClickButton(install, IDC_INSTALL); }, IDYES);
            stayedOpen = ::IsWindowVisible(install) != FALSE;
            ClickButton(install, IDC_UPGRADE_CLOSE);
        });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(bench->sink.messages, (std::vector<std::string>{"Error: Unable to change the memory depth to 256K.\n"
                                                              "Upgrade failed."}));
    EXPECT_EQ(ControlText(dialog, IDC_MEMORY_DEPTH), "64K");
}

TEST_F(MainWindowTest, TheStatusBarTellsTheSelectionsStatusAndWhatIsMissingOnceAMenuCloses)
{
    const struct {
        std::string bench;
        int pickedFrame;  // -1: none
        std::string status, afterMenu;
    } cases[] = {
        {R"({ "modules": [] })", -1, "No module to Stratigon.", "No Instruments."},
        {Bench({Analyzer(0, 3), Analyzer(2, 5)}), 1, "For Help, press F1", "No Modules."},
        {Bench({Analyzer(0, 3, "XYZ100")}), -1, "This module cannot be Stratigoned.", "This module cannot be Stratigoned."},
        {Bench({Analyzer(0, 3, "KVX7L1A", "B12")}), -1, "Error: Invalid Serial Number.", "Error: Invalid Serial Number."},
        {Bench({Analyzer(0, 3)}), -1, "For Help, press F1", "For Help, press F1"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.bench);
        Open(test.bench);
        if (test.pickedFrame >= 0)
            PickComboEntry(dialog, IDC_FRAME_LIST, test.pickedFrame);
        EXPECT_EQ(Status(), test.status);
        CloseMenu();
        EXPECT_EQ(Status(), test.afterMenu);
    }
}

TEST_F(MainWindowTest, MenuPromptsFollowTheHighlightedEntry)
{
    Open(Bench({Analyzer(0, 3)}));
    const HMENU file = ::GetSubMenu(::GetMenu(dialog), 0);
    const HMENU help = ::GetSubMenu(::GetMenu(dialog), 1);
    const HMENU system = ::GetSystemMenu(dialog, FALSE);
    const struct {
        const char* what;
        HMENU menu;
        UINT item, flags;
        std::string atOnce, whenIdle;
    } steps[] = {
        {"Technical Support", help, ID_HELP_SUPPORT, MF_HILITE, "For Help, press F1",
         "Displays technical support information from Quorvalis"},
        {"a separator", help, 2, MF_SEPARATOR, "  ", "  "},
        {"Exit", file, ID_FILE_EXIT, MF_HILITE, "  ", "Closes the Stratigon Utility"},
        {"the File menu itself", ::GetMenu(dialog), 0, MF_POPUP | MF_HILITE, "  ", "  "},
        {"the system menu's Move", system, SC_MOVE, MF_HILITE | MF_SYSMENU, "  ", "Changes the window position"},
        {"About, which has no prompt", system, ID_SYSTEM_ABOUT, MF_HILITE | MF_SYSMENU, "Changes the window position",
         "Changes the window position"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        Highlight(step.menu, step.item, step.flags);
        EXPECT_EQ(Status(), step.atOnce);
        MenuIdle();
        EXPECT_EQ(Status(), step.whenIdle);
    }
    CloseMenu();
    EXPECT_EQ(Status(), "For Help, press F1");
    EXPECT_EQ(::SendMessageA(dialog, win32::kSetMessageString, ID_HELP_TOPICS, 0), ModuleCode::Success) << "the request gives back the prompt shown before";
    EXPECT_EQ(Status(), "Opens the help topics browser");
}

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL CALLBACK CollectControl(HWND control, LPARAM controls)
{
    reinterpret_cast<std::vector<HWND>*>(controls)->push_back(control);
    return TRUE;
}

TEST_F(MainWindowTest, TheStatusBarMakesTheDialogTallerByItsHeightAndMovesNoControl)
{
    Open(Bench({Analyzer(0, 3)}));
    const win32::UniqueWindow plain(::CreateDialogParamA(win32::CDialog::ResourceInstance(), MAKEINTRESOURCEA(IDD_STRATIGON_DIALOG),
                                                      nullptr, &PlainDialog, 0));
    ASSERT_TRUE(plain);
    RECT plainWindow{}, mainWindow{}, bar{};
    ::GetWindowRect(plain.get(), &plainWindow);
    ::GetWindowRect(dialog, &mainWindow);
    ::GetWindowRect(window->StatusBar().GetHwnd(), &bar);
    EXPECT_EQ(mainWindow.bottom - mainWindow.top, plainWindow.bottom - plainWindow.top + (bar.bottom - bar.top));
    EXPECT_EQ(mainWindow.right - mainWindow.left, plainWindow.right - plainWindow.left);
    std::vector<HWND> controls;
    ::EnumChildWindows(plain.get(), &CollectControl, reinterpret_cast<LPARAM>(&controls));
    ASSERT_FALSE(controls.empty());
    for (const HWND control : controls) {
        const int id = ::GetDlgCtrlID(control);
        RECT before{}, after{};
        ::GetWindowRect(control, &before);
        ::MapWindowPoints(nullptr, plain.get(), reinterpret_cast<POINT*>(&before), 2);
        ::GetWindowRect(::GetDlgItem(dialog, id), &after);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&after), 2);
        EXPECT_TRUE(::EqualRect(&before, &after)) << "control " << id << " moved";
    }
    RECT plainClient{};
    ::GetClientRect(plain.get(), &plainClient);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.top, plainClient.bottom) << "the bar sits below the controls";
}

TEST_F(MainWindowTest, TheLogoPaneShowsTheSmallLogoCentredOverThePanesBackground)
{
    Open(Bench({Analyzer(0, 3)}));
    const COLORREF green = RGB(0, 128, 0);
    Canvas canvas(80, 25, green);
    DrawStatusPane(dialog, ui::CMainStatusBar::kLogoPane, canvas, RECT{0, 0, 80, 25});
    const RECT logo{11, 4, 11 + 58, 4 + 17};  // (80 - 58) / 2, (25 - 17) / 2
    EXPECT_EQ(canvas.At(11, 4), green) << "the logo's light grey shows the background";
    EXPECT_GT(canvas.Count(logo, RGB(0, 0, 128)), 20) << "the maker's name";
    EXPECT_EQ(canvas.Count(RECT{0, 0, 11, 25}, green), 11 * 25) << "nothing left of the logo";
}

int TextWidth(HWND window, const std::string& text)
{
    const win32::CWindowDC dc(window);
    const win32::CSelectObject font(dc.get(), reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The real bar's panes against what they show: the whole logo, the whole indicator, and no
// more room than that, which the status text keeps.
TEST_F(MainWindowTest, TheStatusBarsPanesHoldTheWholeLogoAndTheClientIndicator)
{
    Open(Bench({Analyzer(0, 3)}));
    const HWND bar = window->StatusBar().GetHwnd();
    RECT client{};
    ::GetClientRect(bar, &client);
    const COLORREF green = RGB(0, 128, 0);
    Canvas alone(200, 80, green);
    RECT logo{};
    ASSERT_TRUE(win32::DrawTransparentBitmap(alone.dc.get(), window->StatusBar().LogoBitmap(), logo));
    Canvas shown(client.right, client.bottom, green);
    ::SendMessageA(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc.get()), PRF_CLIENT);
    for (const COLORREF colour : {RGB(255, 0, 0), RGB(0, 0, 128)})
        EXPECT_EQ(shown.Count(client, colour), alone.Count(logo, colour)) << "the logo's line and letters, all of them";

    // Inside its sunken edge each pane holds what it shows, and no more than a little air
    // besides, so the status text keeps the rest.
    const win32::DpiScale scale = win32::DpiScale::OfWindow(bar);
    const std::pair<int, SIZE> panes[] = {
        {ui::CMainStatusBar::kClientPane, {TextWidth(bar, " Client "), 0}},
        {ui::CMainStatusBar::kLogoPane, {std::max(static_cast<int>(logo.right), TextWidth(bar, "Quorvalis")), logo.bottom}},
    };
    for (const auto& [pane, holds] : panes) {
        RECT r{};
        ::SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(&r));
        const SIZE inside{r.right - r.left - 2 * scale.SystemMetric(SM_CXBORDER), r.bottom - r.top - 2 * scale.SystemMetric(SM_CYBORDER)};
        EXPECT_TRUE(inside.cx >= holds.cx && inside.cy >= holds.cy) << "pane " << pane << " is " << inside.cx << " x " << inside.cy;
        EXPECT_LE(inside.cx, holds.cx + scale.Pixels(8)) << "pane " << pane;
    }
}

TEST_F(MainWindowTest, TheAboutBoxOpensFromHelpAndTheSystemMenuOwnedByTheMainDialog)
{
    Open(Bench({Analyzer(0, 3)}));
    const std::pair<const char*, std::function<void()>> triggers[] = {
        {"Help > About Stratigon", [&] { ::SendMessageA(dialog, WM_COMMAND, ID_HELP_ABOUT, 0); }},
        {"the system menu", [&] { ::SendMessageA(dialog, WM_SYSCOMMAND, ID_SYSTEM_ABOUT, 0); }},
    };
    for (const auto& [what, trigger] : triggers) {
        SCOPED_TRACE(what);
        HWND owner = nullptr;
        bool mainEnabled = true;
        EXPECT_TRUE(WhileModal("About KVX Stratigon Utility", trigger, [&](HWND about) {
            owner = ::GetWindow(about, GW_OWNER);
            mainEnabled = ::IsWindowEnabled(dialog) != FALSE;
            ClickButton(about, IDOK);
        }));
        EXPECT_EQ(owner, dialog);
        EXPECT_FALSE(mainEnabled) << "File > Exit must not work behind the About box";
        EXPECT_TRUE(::IsWindowEnabled(dialog));
    }
    const auto icon = ::SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0);
    EXPECT_NE(icon, 1);
    EXPECT_EQ(icon, ::SendMessageA(dialog, WM_GETICON, ICON_BIG, 0)) << "a minimized drag shows the application icon";
}

}  // namespace
}  // namespace stratigon::test
