#include <gtest/gtest.h>

#include <windows.h>
#include <htmlhelp.h>

#include <functional>
#include <memory>

#include "res/resource.h"
#include "support/SimulatedBench.h"
#include "support/TempFolder.h"
#include "ui/CHelpRouting.h"
#include "ui/CMainWindow.h"
#include "ui/PopupTexts.h"
#include "ui/UiTestSupport.h"
#include "win32/CHtmlHelpLoader.h"

namespace stratigon::test {
namespace {

using ui::CHelpRouting;

// What the program asked of HTML Help, with the popup description's members copied out.
struct HelpCall {
    HWND window;
    std::string file;
    UINT command;
    DWORD_PTR data;
    HH_POPUP popup{};
    std::string font;
};

class RecordingHtmlHelp final : public win32::IHtmlHelp {
public:
    bool IsAvailable() override { return available; }
    HWND Call(HWND caller, const std::string& file, UINT command, DWORD_PTR data) override
    {
        HelpCall call{caller, file, command, data, {}, {}};
        if (command == HH_DISPLAY_TEXT_POPUP) {
            call.popup = *reinterpret_cast<const HH_POPUP*>(data);
            call.font = call.popup.pszFont;
        }
        calls.push_back(call);
        return shows;
    }
    bool available = true;
    HWND shows = nullptr;  // what HTML Help shows: nothing, as under Wine
    std::vector<HelpCall> calls;
};

// The main dialog with help routed to a recorder.
class HelpTest : public ::testing::Test {
protected:
    void Open(const std::string& benchText)
    {
        bench = std::make_unique<SimulatedBench>(benchText);
        report = std::make_unique<TestReport>(bench->sink);
        application.help = &help;
        window = win32::MakeDialog<ui::CMainWindow>(bench->Module(), bench->sink, report->writer, application);
        ASSERT_TRUE(window->Create(nullptr));
        dialog = window->GetHwnd();
    }

    void TearDown() override
    {
        window.reset();
        PumpMessages();
    }

    // Runs Help > What's This?; once its help mode waits for the user, `during` acts.
    void WhatsThis(const std::function<void()>& during)
    {
        static std::function<void()> action;
        action = during;
        ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
            ::KillTimer(nullptr, timer);
            action();
        });
        ::SendMessageA(dialog, WM_COMMAND, ID_HELP_WHATS_THIS, 0);
    }

    POINT CentreOf(int id, HWND owner = nullptr) const
    {
        RECT bounds{};
        ::GetWindowRect(::GetDlgItem(owner != nullptr ? owner : dialog, id), &bounds);
        return POINT{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    }

    void ClickAt(POINT screen) const
    {
        ::ScreenToClient(dialog, &screen);
        ::PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(screen.x, screen.y));
    }

    bool WhatsThisChecked() const
    {
        const HMENU help = ::GetSubMenu(::GetMenu(dialog), 1);
        ::SendMessageA(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), MAKELPARAM(1, FALSE));
        return (::GetMenuState(help, ID_HELP_WHATS_THIS, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    // F1 on a control: the request Windows sends its dialog.
    static bool PressF1(HWND owner, int id)
    {
        const HWND control = ::GetDlgItem(owner, id);
        HELPINFO request{sizeof request, HELPINFO_WINDOW, id, control, ::GetWindowContextHelpId(control), {}};
        return ::SendMessageA(owner, WM_HELP, 0, reinterpret_cast<LPARAM>(&request)) != FALSE;
    }

    TempFolder folder;
    RecordingHtmlHelp htmlHelp;
    CHelpRouting help{htmlHelp, folder.Path().string()};
    ui::ApplicationState application;
    std::unique_ptr<SimulatedBench> bench;
    std::unique_ptr<TestReport> report;
    win32::UniqueDialog<ui::CMainWindow> window;
    HWND dialog = nullptr;
};

TEST_F(HelpTest, HelpTopicsAndTechnicalSupportOpenTheHelpFileBesideTheProgram)
{
    Open(Bench({Analyzer(0, 3)}));
    EXPECT_EQ(help.HelpFilePath(), folder.File("Stratigon.chm")) << "no help is installed at " << CHelpRouting::kHelpSystemFolder;
    ::SendMessageA(dialog, WM_COMMAND, ID_HELP_TOPICS, 0);
    ::SendMessageA(dialog, WM_COMMAND, ID_HELP_SUPPORT, 0);
    EXPECT_TRUE(WhileModal("Possible Stratigon Upgrades", [&] { ClickButton(dialog, IDC_VIEW_UPGRADES); },
                           [&](HWND upgrades) {
                               ClickButton(upgrades, IDC_UPGRADE_HELP);
                               ClickButton(upgrades, IDC_UPGRADE_CLOSE);
                           }));
    ASSERT_EQ(htmlHelp.calls.size(), 3u);
    const std::pair<UINT, DWORD_PTR> expected[] = {{HH_DISPLAY_TOC, 0}, {HH_HELP_CONTEXT, 1003}, {HH_HELP_CONTEXT, 1002}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(htmlHelp.calls[i].window, dialog) << "the main window owns help";
        EXPECT_EQ(htmlHelp.calls[i].file, help.HelpFilePath());
        EXPECT_EQ(std::make_pair(htmlHelp.calls[i].command, htmlHelp.calls[i].data), expected[i]);
    }
}

TEST_F(HelpTest, WhatsThisShowsThePopupOfWhatIsClicked)
{
    Open(Bench({Analyzer(0, 3)}));
    RECT group{};
    ::GetWindowRect(::GetDlgItem(dialog, IDC_CONFIGURATION_GROUP), &group);
    const struct {
        const char* what;
        POINT click;
        int control, topic;
    } cases[] = {
        {"the frame list", CentreOf(IDC_FRAME_LIST), IDC_FRAME_LIST, 1},
        {"a value", CentreOf(IDC_MEMORY_DEPTH), IDC_CONFIGURATION_GROUP, 2},
        {"the group's empty corner", POINT{group.right - 3, group.bottom - 3}, IDC_CONFIGURATION_GROUP, 2},
        {"Install Upgrade...", CentreOf(IDC_INSTALL_UPGRADE), IDC_INSTALL_UPGRADE, 4},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        htmlHelp.calls.clear();
        EXPECT_FALSE(WhatsThisChecked());
        bool checkedDuring = false;
        WhatsThis([&] {
            checkedDuring = WhatsThisChecked();
            ClickAt(test.click);
        });
        EXPECT_TRUE(checkedDuring);
        EXPECT_FALSE(WhatsThisChecked()) << "the click ends the mode";
        ASSERT_EQ(htmlHelp.calls.size(), 1u);
        const HelpCall& call = htmlHelp.calls[0];
        EXPECT_EQ(call.window, ::GetDlgItem(dialog, test.control));
        EXPECT_EQ(call.file, help.HelpFilePath() + "::/Whats_This_Help/Stratigon.txt");
        EXPECT_EQ(call.command, static_cast<UINT>(HH_DISPLAY_TEXT_POPUP));
        EXPECT_EQ(call.popup.idString, static_cast<UINT>(test.topic));
        EXPECT_EQ(std::make_pair(call.popup.pt.x, call.popup.pt.y), std::make_pair(test.click.x, test.click.y));
        EXPECT_EQ(call.popup.cbStruct, static_cast<int>(sizeof(HH_POPUP)));
        EXPECT_EQ(call.popup.clrForeground, RGB(0, 0, 0));
        EXPECT_EQ(call.popup.clrBackground, RGB(255, 255, 208));
        EXPECT_EQ(std::vector<LONG>({call.popup.rcMargins.left, call.popup.rcMargins.top, call.popup.rcMargins.right,
                                     call.popup.rcMargins.bottom}),
                  std::vector<LONG>({-1, -1, -1, -1}));
        EXPECT_EQ(call.font, "Arial, 8, ascii, , , ");
        ASSERT_NE(help.Popup().GetHwnd(), nullptr) << "HTML Help showed none, so the program does";
        // As a person does, the popup goes with a key before the next question.
        ::PostMessageA(help.Popup().GetHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
        PumpMessages();
    }
}

TEST_F(HelpTest, EscapeEndsWhatsThisWithoutAPopup)
{
    Open(Bench({Analyzer(0, 3)}));
    WhatsThis([&] { ::PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_TRUE(htmlHelp.calls.empty());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(HelpTest, F1ShowsThePopupOfTheControlAtItsCentre)
{
    Open(Bench({Analyzer(0, 3), Analyzer(0, 5)}));
    EXPECT_TRUE(IsEnabledControl(dialog, IDC_SLOT_LIST));
    EXPECT_TRUE(PressF1(dialog, IDC_SLOT_LIST));
    POINT print{};
    EXPECT_TRUE(WhileModal("Possible Stratigon Upgrades", [&] { ClickButton(dialog, IDC_VIEW_UPGRADES); },
                           [&](HWND upgrades) {
                               EXPECT_TRUE(PressF1(upgrades, IDC_PRINT_TO_FILE));
                               EXPECT_FALSE(PressF1(upgrades, IDC_UPGRADE_CLOSE)) << "Close has no help";
                               EXPECT_FALSE(PressF1(upgrades, IDC_NO_UPGRADES)) << "nor has the empty list's notice";
                               print = CentreOf(IDC_PRINT_TO_FILE, upgrades);
                               ClickButton(upgrades, IDC_UPGRADE_CLOSE);
                           }));
    ASSERT_EQ(htmlHelp.calls.size(), 2u);
    const POINT slots = CentreOf(IDC_SLOT_LIST);
    const std::pair<UINT, POINT> expected[] = {{8, slots}, {6, print}};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(htmlHelp.calls[i].popup.idString, expected[i].first);
        EXPECT_EQ(std::make_pair(htmlHelp.calls[i].popup.pt.x, htmlHelp.calls[i].popup.pt.y),
                  std::make_pair(expected[i].second.x, expected[i].second.y));
    }
}

TEST_F(HelpTest, TheProgramsOwnPopupAppearsOnlyWhereHtmlHelpShowsNone)
{
    Open(Bench({Analyzer(0, 3)}));
    const struct {
        bool available;
        HWND shows;
        bool ownPopup;
    } cases[] = {{true, nullptr, true}, {true, ::GetDesktopWindow(), false}, {false, nullptr, false}};
    for (const auto& test : cases) {
        htmlHelp.available = test.available;
        htmlHelp.shows = test.shows;
        PressF1(dialog, IDC_FRAME_LIST);
        EXPECT_EQ(help.Popup().GetHwnd() != nullptr, test.ownPopup);
        if (test.ownPopup) {
            EXPECT_EQ(help.Popup().Text(), ui::EmbeddedPopupTexts().at(1));
            EXPECT_EQ(WindowText(help.Popup().GetHwnd()), ui::EmbeddedPopupTexts().at(1)) << "for screen readers";
            ::PostMessageA(help.Popup().GetHwnd(), WM_KEYDOWN, VK_SPACE, 0);
            PumpMessages();
            EXPECT_EQ(help.Popup().GetHwnd(), nullptr) << "a key closes it";
        }
    }
    EXPECT_EQ(htmlHelp.calls.size(), 2u) << "no call without HTML Help";
}

TEST_F(HelpTest, EveryControlOfTheMainDialogCarriesAContextIdAndThePopupTextsCoverEveryTopic)
{
    Open(Bench({Analyzer(0, 3)}));
    for (const ui::HelpPair& pair : CHelpRouting::MainHelpTable())
        EXPECT_NE(::GetWindowContextHelpId(::GetDlgItem(dialog, pair.controlId)), 0u) << pair.controlId;
    const auto& texts = ui::EmbeddedPopupTexts();
    for (const int topic : {1, 2, 3, 4, 5, 6, 8})
        EXPECT_FALSE(texts.count(topic) == 0 || texts.at(topic).empty()) << "topic " << topic;
    EXPECT_EQ(ui::ParsePopupTexts(".topic 3\r\nOne line\r\nand the next.\r\n\r\nA second paragraph.\r\n.topic 9\r\nNine\r\n"),
              (std::map<int, std::string>{{3, "One line and the next.\n\nA second paragraph."}, {9, "Nine"}}));
}

TEST(HtmlHelpLoader, WithoutTheHelpControlEveryCallDoesNothing)
{
    win32::CHtmlHelpLoader missing("C:\\nowhere\\hhctrl.ocx");
    EXPECT_FALSE(missing.IsAvailable());
    EXPECT_EQ(missing.Call(nullptr, "Stratigon.chm", HH_DISPLAY_TOC, 0), nullptr);
}

}  // namespace
}  // namespace stratigon::test
