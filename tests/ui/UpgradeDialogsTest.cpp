#include <gtest/gtest.h>

#include <functional>

#include <memory>

#include "module/ModuleCodes.h"
#include "res/resource.h"
#include "support/SimulatedBench.h"
#include "ui/CInstallUpgradeDlg.h"
#include "ui/CPossibleUpgradesDlg.h"
#include "ui/SharedDialogPosition.h"
#include "ui/UiTestSupport.h"

namespace stratigon::test {
namespace {

std::string OneAnalyzer(const std::string& product, int depth, int speedMhz)
{
    return R"({ "modules": [ { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025,
        "idn": "QUORVALIS,)" + product + R"(,B012345,FVER:4.2.1", "depth": )" + std::to_string(depth) +
           R"(, "state_speed_mhz": )" + std::to_string(speedMhz) + " } ] }";
}

POINT TopLeftOf(HWND window)
{
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    return POINT{bounds.left, bounds.top};
}

class UpgradeDialogsTest : public ::testing::Test {
protected:
    void Read(const std::string& benchText)
    {
        bench = std::make_unique<SimulatedBench>(benchText);
        ASSERT_TRUE(bench->Scanned());
        ASSERT_EQ(bench->Module().ReadModule(bench->SessionAt(0)), ModuleCode::Success);
        report = std::make_unique<TestReport>(bench->sink);
    }

    HWND OpenPossibleUpgrades()
    {
        possible = win32::MakeDialog<ui::CPossibleUpgradesDlg>(bench->Module(), bench->sink, report->writer,
                                                              "Expansion-2", "3");
        EXPECT_TRUE(possible->Create(nullptr));
        return possible->GetHwnd();
    }

    void TearDown() override
    {
        possible.reset();
        install.reset();
        PumpMessages();
    }

    std::unique_ptr<SimulatedBench> bench;
    std::unique_ptr<TestReport> report;
    win32::UniqueDialog<ui::CPossibleUpgradesDlg> possible;
    win32::UniqueDialog<ui::CInstallUpgradeDlg> install;
};

TEST_F(UpgradeDialogsTest, PossibleUpgradesShowTheModuleAndItsFittingOptionsSorted)
{
    Read(OneAnalyzer("KVX7R1A", 65536, 100));
    const HWND dialog = OpenPossibleUpgrades();
    EXPECT_EQ(ControlText(dialog, IDC_UPGRADE_FRAME), "Expansion-2");
    EXPECT_EQ(ControlText(dialog, IDC_UPGRADE_SLOT), "3");
    EXPECT_EQ(ControlText(dialog, IDC_UPGRADE_DEPTH), "64K");
    EXPECT_EQ(ControlText(dialog, IDC_UPGRADE_SPEED), "100 MHz");
    const std::vector<std::string> lines = ListEntries(dialog, IDC_UPGRADE_LIST);
    ASSERT_EQ(lines.size(), 7u) << "grid codes 01 to 07 start at 64K and 100 MHz";
    EXPECT_EQ(lines.front(), "KVX7R1AUP Option 01\t256K\t100 MHz");
    EXPECT_EQ(lines.back(), "KVX7R1AUP Option 07\t4M\t200 MHz");
    EXPECT_FALSE(IsShown(dialog, IDC_NO_UPGRADES));
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDC_PRINT_TO_FILE));
}

TEST_F(UpgradeDialogsTest, NoFittingOptionShowsTheNoUpgradesLabel)
{
    Read(OneAnalyzer("KVX7R1A", 4194304, 200));
    const HWND dialog = OpenPossibleUpgrades();
    EXPECT_TRUE(ListEntries(dialog, IDC_UPGRADE_LIST).empty());
    EXPECT_TRUE(IsShown(dialog, IDC_NO_UPGRADES));
    EXPECT_TRUE(bench->sink.messages.empty());
}

TEST_F(UpgradeDialogsTest, AProductWithoutOptionTableIsReportedAndListsNothing)
{
    Read(OneAnalyzer("KVX7L9Z", 65536, 100));
    const HWND dialog = OpenPossibleUpgrades();
    EXPECT_EQ(bench->sink.messages,
              std::vector<std::string>{"Error: No option table defined for this product: KVX7L9Z"});
    EXPECT_TRUE(ListEntries(dialog, IDC_UPGRADE_LIST).empty());
    EXPECT_TRUE(IsShown(dialog, IDC_NO_UPGRADES));
}

TEST_F(UpgradeDialogsTest, UpgradeDialogsOpenWhereTheLastOneClosed)
{
    Read(OneAnalyzer("KVX7L1A", 65536, 100));
    ui::SharedDialogPosition = POINT{140, 90};
    HWND dialog = OpenPossibleUpgrades();
    EXPECT_EQ(TopLeftOf(dialog).x, 140);
    EXPECT_EQ(TopLeftOf(dialog).y, 90);

    ::SetWindowPos(dialog, nullptr, 210, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ClickButton(dialog, IDC_UPGRADE_CLOSE);
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_EQ(ui::SharedDialogPosition.x, 210);
    EXPECT_EQ(ui::SharedDialogPosition.y, 160);

    install = win32::MakeDialog<ui::CInstallUpgradeDlg>(bench->Module(), bench->sink, bench->SessionAt(0), "Mainframe", "3");
    ASSERT_TRUE(install->Create(nullptr));
    EXPECT_EQ(TopLeftOf(install->GetHwnd()).x, 210);
    EXPECT_EQ(TopLeftOf(install->GetHwnd()).y, 160);
}

TEST_F(UpgradeDialogsTest, EnterDoesNotCloseThePossibleUpgradesButEscapeDoes)
{
    Read(OneAnalyzer("KVX7L1A", 65536, 100));
    const HWND dialog = OpenPossibleUpgrades();
    ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(::IsWindow(dialog));
    ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(::IsWindow(dialog));
}

// Enter presses the default button, or the one with the focus; Esc closes.
TEST_F(UpgradeDialogsTest, TheKeyboardReachesEveryControlInReadingOrder)
{
    Read(OneAnalyzer("KVX7L1A", 65536, 100));
    ExpectKeyboard(OpenPossibleUpgrades(), {IDC_UPGRADE_CLOSE, IDC_UPGRADE_HELP, IDC_UPGRADE_LIST, IDC_PRINT_TO_FILE},
                   {{'U', IDC_PRINT_TO_FILE, IDC_UPGRADE_LIST, 0}, {'C', IDC_UPGRADE_LIST, 0, IDC_UPGRADE_CLOSE},
                    {'H', IDC_UPGRADE_LIST, 0, IDC_UPGRADE_HELP}, {'P', IDC_UPGRADE_LIST, 0, IDC_PRINT_TO_FILE},
                    {VK_RETURN, IDC_UPGRADE_LIST, 0, IDC_UPGRADE_CLOSE}, {VK_ESCAPE, IDC_UPGRADE_LIST, 0, IDCANCEL}});
    install = win32::MakeDialog<ui::CInstallUpgradeDlg>(bench->Module(), bench->sink, bench->SessionAt(0), "Mainframe", "3");
    ASSERT_TRUE(install->Create(nullptr));
    PickListEntry(install->GetHwnd(), IDC_UPGRADE_LIST, 0);
    ExpectKeyboard(install->GetHwnd(), {IDC_INSTALL, IDC_UPGRADE_CLOSE, IDC_UPGRADE_LIST},
                   {{'S', IDC_INSTALL, IDC_UPGRADE_LIST, 0}, {'I', IDC_UPGRADE_LIST, 0, IDC_INSTALL},
                    {'C', IDC_UPGRADE_LIST, 0, IDC_UPGRADE_CLOSE}, {VK_RETURN, IDC_UPGRADE_LIST, 0, IDC_INSTALL},
                    {VK_ESCAPE, IDC_UPGRADE_LIST, 0, IDCANCEL}});
}

TEST_F(UpgradeDialogsTest, TheInstallWindowInstallsOnlyThePickedOption)
{
    Read(OneAnalyzer("KVX7L1A", 65536, 100));
    install = win32::MakeDialog<ui::CInstallUpgradeDlg>(bench->Module(), bench->sink, bench->SessionAt(0), "Mainframe", "3");
    ASSERT_TRUE(install->Create(nullptr));
    const HWND dialog = install->GetHwnd();
    ClickButton(dialog, IDC_INSTALL);
    EXPECT_TRUE(::IsWindow(dialog)) << "nothing picked, nothing installed";
    EXPECT_TRUE(bench->sink.messages.empty());

    PickListEntry(dialog, IDC_UPGRADE_LIST, 0);
    EXPECT_TRUE(IsEnabledControl(dialog, IDC_INSTALL));
    // Every way of installing asks first, naming the upgrade and the place; No changes nothing.
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Install", [&] { ClickButton(dialog, IDC_INSTALL); }},
        {"a double-click", [&] {
             ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_UPGRADE_LIST, LBN_DBLCLK),
                            reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_UPGRADE_LIST)));
         }},
        {"Enter", [&] { ::SendMessageA(dialog, WM_COMMAND, IDOK, 0); }},
    };
    for (const auto& [way, install] : ways) {
        EXPECT_EQ(AnswerQuestion(install, IDNO), "Install KVX7L1AUP Option 01 on the module in Mainframe, slot 3?\n\n"
                                                 "The module is reset and read again afterwards.")
            << way;
        EXPECT_TRUE(::IsWindow(dialog)) << way;
    }
    EXPECT_TRUE(bench->sink.messages.empty());
    EXPECT_EQ(bench->Module().GetMemoryDepth(), "64K");
    EXPECT_EQ(AnswerQuestion([&] { ClickButton(dialog, IDC_INSTALL); }, IDYES).substr(0, 8), "Install ");
    EXPECT_EQ(bench->sink.messages, std::vector<std::string>{"You have successfully installed the upgrade:\n"
                                                             "Increased from 64K@100 MHz to 256K@100 MHz"});
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_EQ(bench->Module().GetMemoryDepth(), "256K");
}

}  // namespace
}  // namespace stratigon::test
