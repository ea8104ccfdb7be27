#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Stratigon.h"
#include "e2e/AppDriver.h"
#include "res/resource.h"
#include "support/AutomationCalls.h"
#include "support/DialogControls.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"
#include "win32/ComPtr.h"

namespace stratigon::test {
namespace {

using Json = nlohmann::json;

constexpr char kUniqueId[] = "13:18:C1:00:30:39";
constexpr char kInstallCaption[] = "Install Stratigon Upgrade";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Stratigon.exe with an install journal of the test's own, read back through stratigon-cli.
class JournalEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { ::CoUninitialize(); }

    HWND Start()
    {
        folder.Write("bench.json", R"({ "modules": [ { "interface": 0, "slot": 3, "logical_address": 24,
            "model_code": 1025, "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1" } ] })");
        EXPECT_TRUE(app.Start(AppDriver::ProgramBesideThisOne("Stratigon.exe"),
                              {{"STRATIGON_SIM_BENCH", folder.File("bench.json")}, {"STRATIGON_SIM_STATE", folder.File("state.json")}}));
        return app.WaitForWindow("KVX Stratigon Utility");
    }

    // Installs the entry of the install window's list; the texts of the message boxes that follow.
    std::vector<std::string> InstallThroughTheWindow(HWND main, int entry, int boxes)
    {
        AppDriver::Click(main, IDC_INSTALL_UPGRADE);
        const HWND install = app.WaitForWindow(kInstallCaption);
        AppDriver::PickListEntry(install, IDC_UPGRADE_LIST, entry);
        AppDriver::Click(install, IDC_INSTALL);
        std::vector<std::string> texts = {app.AnswerMessageBox(IDYES)};
        for (int box = 1; box < boxes; ++box)
            texts.push_back(app.AnswerMessageBox());
        EXPECT_TRUE(app.WaitUntilGone(kInstallCaption));
        return texts;
    }

    int Run(const std::string& program, const std::string& arguments)
    {
        const int code = AppDriver::RunToEnd(Quoted(AppDriver::ProgramBesideThisOne(program)) + " " + arguments, folder.File("output.txt"));
        output = folder.Read("output.txt");
        return code;
    }

    Json Journal()
    {
        EXPECT_EQ(Run("stratigon-cli.exe", "--json journal"), 0) << output;
        return Json::parse(output, nullptr, false);
    }

    TempFolder folder;
    ScopedEnvironment journal{"STRATIGON_JOURNAL", folder.File("journal.csv")};
    AppDriver app;
    std::string output;
};

TEST_F(JournalEndToEndTest, TheWindowAndAutomationRecordTheirInstallationsUnderTheirNames)
{
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    InstallThroughTheWindow(main, 0, 2);
    win32::ComPtr<IStratigonApplication> client;
    ASSERT_EQ(::CoCreateInstance(CLSID_StratigonApplication, nullptr, CLSCTX_LOCAL_SERVER, IID_IStratigonApplication, client.put_void()), S_OK);
    EXPECT_EQ(client->InstallUpgrade(Bstr("10").value, Bstr(kUniqueId).value), S_OK);
    EXPECT_EQ(client->InstallUpgrade(Bstr("99").value, Bstr(kUniqueId).value), Failure(1011));
    client.reset();
    AppDriver::Command(main, ID_FILE_EXIT);
    EXPECT_EQ(app.WaitForExit(), 0);

    std::vector<std::vector<std::string>> seen;
    for (const Json& r : Journal())
        seen.push_back({r["front_end"], r["event"], r["kit_option"], r["depth_after"], r["result_code"], r["result_text"]});
    const std::string installed = "You have successfully installed the upgrade: Increased from 64K@100 MHz to 256K@100 MHz";
    EXPECT_EQ(seen, (std::vector<std::vector<std::string>>{
                        {"install window", "started", "KVX7L1AUP-Opt-01", "", "", ""},
                        {"install window", "succeeded", "KVX7L1AUP-Opt-01", "256K", "0", installed},
                        {"automation", "started", "KVX7L1AUP-Opt-10", "", "", ""},
                        {"automation", "succeeded", "KVX7L1AUP-Opt-10", "256K", "0", ""},
                        {"automation", "started", "", "", "", ""},
                        {"automation", "refused", "", "256K", "0x800403F3",
                         "The specified upgrade option is not defined for this module."},
                    }));
}

TEST_F(JournalEndToEndTest, AnInstallationThatDidNotFinishIsNamedOnceAtTheNextStart)
{
    folder.Write("journal.csv", "\"time\",\"computer\",\"user\",\"front_end\",\"attempt\",\"event\",\"resource\","
                                "\"frame\",\"slot\",\"product\",\"serial_number\",\"unique_id\",\"kit_option\","
                                "\"depth_before\",\"speed_before\",\"depth_after\",\"speed_after\",\"result_code\","
                                "\"result_text\"\r\n\"2026-03-04T10:15:30Z\",\"LAB-PC\",\"ann\",\"install window\",\"7-1\","
                                "\"started\",\"VXI0::24::INSTR\",\"Mainframe\",\"3\",\"KVX7L1A\",\"B012345\","
                                "\"13:18:C1:00:30:39\",\"KVX7L1AUP-Opt-05\",\"64K\",\"100 MHz\",\"\",\"\",\"\",\"\"\r\n");
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    const std::string notice = app.AnswerMessageBox();
    EXPECT_EQ(notice.rfind("An installation did not finish", 0), 0u) << notice;
    EXPECT_NE(notice.find("KVX7L1AUP-Opt-05 on KVX7L1A B012345 (13:18:C1:00:30:39) in Mainframe, slot 3, started "
                          "2026-03-04T10:15:30Z through the install window by ann on LAB-PC"),
              std::string::npos)
        << notice;
    AppDriver::Command(main, ID_FILE_EXIT);
    EXPECT_EQ(app.WaitForExit(), 0);
    const Json records = Journal();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1]["event"], "interrupted") << "so that the next start does not name it again";
    EXPECT_EQ(records[0]["unfinished"], true);
}

TEST_F(JournalEndToEndTest, AnUnwritableJournalIsToldOnceInTheWindowAndNeverHoldsUpAClient)
{
    const ScopedEnvironment unwritable("STRATIGON_JOURNAL", folder.File("bench.json") + "\\journal.csv");
    const HWND main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Run("UpgradeBySerial.exe", "B012345 FD " + Quoted(folder.File("order.txt"))), 0) << output;
    const std::vector<std::string> first = InstallThroughTheWindow(main, 1, 3);
    EXPECT_EQ(first[1].rfind("The install journal cannot be written (", 0), 0u) << first[1];
    EXPECT_EQ(first[2].rfind("You have successfully installed the upgrade:", 0), 0u) << first[2];
    const std::vector<std::string> second = InstallThroughTheWindow(main, 0, 2);
    EXPECT_EQ(second[1].rfind("You have successfully installed the upgrade:", 0), 0u) << "told once: " << second[1];
    EXPECT_EQ(ControlText(main, IDC_MEMORY_DEPTH), "256K");
    AppDriver::Command(main, ID_FILE_EXIT);
    EXPECT_EQ(app.WaitForExit(), 0);
}

}  // namespace
}  // namespace stratigon::test
