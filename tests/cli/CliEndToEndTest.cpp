#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli/CliProcess.h"
#include "support/ReportDoubles.h"

namespace stratigon::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using Json = nlohmann::json;

constexpr const char* kAnalyzerId = "13:18:C1:00:30:39";
constexpr const char* kGeneratorId = "74:23:B2:31:87:68";
constexpr const char* kNoTableId = "13:1C:DA:00:03:09";

Json Module(int frame, int slot, int address, const char* kind, const char* idn)
{
    return {{"interface", frame}, {"slot", slot}, {"logical_address", address}, {"model_code", 1025},
            {"kind", kind},       {"idn", idn}};
}

// A mainframe analyzer at 64K and 100 MHz, a pattern generator, an analyzer the catalogue
// does not know, and an instrument that is no module, each in its own slot.
Json StandardBench()
{
    Json analyzer = Module(0, 3, 24, "analyzer", "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1");
    analyzer["depth"] = 65536;
    analyzer["state_speed_mhz"] = 100;
    Json generator = Module(1, 5, 40, "pattern-generator", "QUORVALIS,KVX7PG2,C100200,FW:2.0.5");
    generator["pattern_option"] = "STD";
    return {{"modules",
             {analyzer, generator, Module(1, 7, 56, "analyzer", "QUORVALIS,KVX7L9Z,B000777,FVER:1.0.0"),
              Module(2, 1, 66, "other", "QUORVALIS,SCOPE9,A1,V1")}}};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { UseBench(StandardBench()); }

    void UseBench(const Json& bench)
    {
        WriteBytes(m_bench, bench.dump());
        std::filesystem::remove(m_bench + ".state.json");
    }

    // Runs the tool on the test's bench without the start-up waits.
    CliResult Run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--bench", m_bench, "--no-wait"});
        return RunCli(arguments, folder.Path().string());
    }

    TempFolder folder;

private:
    std::string m_bench = folder.File("bench.json");
};

std::string Describe(const CliResult& r)
{
    return "exit " + std::to_string(r.exitCode) + "\n--- stdout\n" + r.out + "--- stderr\n" + r.err;
}

TEST_F(CliTest, ScanPrintsEveryModuleWithFrameSlotStatusAndWhatWasRead)
{
    const CliResult r = Run({"scan"});
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
    EXPECT_EQ(r.err, "") << "no progress or messages when standard error is not a terminal";
    EXPECT_THAT(r.out, StartsWith("Frame        Slot  Product  Serial   Unique ID          Depth  State speed  Status\n"));
    EXPECT_THAT(r.out, HasSubstr("Mainframe    3     KVX7L1A  B012345  13:18:C1:00:30:39  64K    100 MHz      OK\n"));
    EXPECT_THAT(r.out, HasSubstr("Expansion-1  5     KVX7PG2  C100200  74:23:B2:31:87:68  256K   134 MHz      OK\n"));
    EXPECT_THAT(r.out, HasSubstr("Expansion-2  1"));
    EXPECT_THAT(r.out, HasSubstr("This module cannot be Stratigoned.\n"));
}

TEST_F(CliTest, ScanAsJsonGivesOneObjectPerModuleWithTheDocumentedKeys)
{
    const CliResult r = Run({"--json", "scan"});
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
    const Json modules = Json::parse(r.out);
    ASSERT_EQ(modules.size(), 4u);
    // Exactly the documented keys, no more.
    const Json expected = {{"frame", 0}, {"frame_name", "Mainframe"}, {"slot", 3}, {"logical_address", 24},
                           {"status", 112}, {"status_text", ""}, {"product_type", 0}, {"product_name", "KVX7L1A"},
                           {"serial_number", "B012345"}, {"unique_id", kAnalyzerId}, {"memory_depth", "64K"},
                           {"state_speed", "100 MHz"}, {"timing_speed", "8 GHz / 400 MHz"}, {"channels", "136"},
                           {"firmware_version", "4.2.1"}};
    EXPECT_EQ(modules[0], expected) << modules[0].dump(1);
    EXPECT_EQ(modules[1]["product_type"], 3);
    EXPECT_EQ(modules[1].size(), expected.size());
    EXPECT_EQ(modules[3]["status"], 108);
    EXPECT_EQ(modules[3]["status_text"], "This module cannot be Stratigoned.");
}

// Every hexadecimal letter is in the unique ID, so a case conversion that misses one is seen.
TEST_F(CliTest, ShowFindsAModuleByUniqueIdInAnyLetterCase)
{
    // A KVX5 analyzer with a serial number of zeros keeps its unit number, 0xABCDE here, in its
    // memory with a checksum; the unit number fills the last five digits of its unique ID.
    Json bench = StandardBench();
    Json numbered = Module(2, 4, 68, "analyzer", "QUORVALIS,KVX5L1,B000000,FVER:3.1.0");
    numbered["memory"] = {{"0x5000048", 0xABCDE}, {"0x500004C", 0xDE + 0xBC + 0x0A + 6}};
    bench["modules"].push_back(numbered);
    UseBench(bench);
    const CliResult r = Run({"show", "33:18:a0:fa:bc:de"});
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
    EXPECT_THAT(r.out, HasSubstr("Frame:             Expansion-2\nSlot:              4\n"));
    EXPECT_THAT(r.out, HasSubstr("Product type:      KVX5L1\n"));
    EXPECT_THAT(r.out, HasSubstr("Unique ID:         33:18:A0:FA:BC:DE\n"));
    const CliResult json = Run({"--json", "show", kAnalyzerId});
    ASSERT_EQ(json.exitCode, 0) << Describe(json);
    EXPECT_EQ(Json::parse(json.out)["serial_number"], "B012345");
}

TEST_F(CliTest, UpgradesListsWhatTheDialogListsInItsOrder)
{
    const CliResult r = Run({"upgrades", kAnalyzerId});
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
    EXPECT_EQ(r.out,
              "Upgrade Kit & Option  Memory Depth  State Speed\n"
              "KVX7L1AUP Option 01   256K          100 MHz\n"
              "KVX7L1AUP Option 04   64K           200 MHz\n"
              "KVX7L1AUP Option 05   256K          200 MHz\n");
    const CliResult json = Run({"--json", "upgrades", kGeneratorId});
    ASSERT_EQ(json.exitCode, 0) << Describe(json);
    const Json expected = Json::array({{{"option", "KVX7PG2UP-Opt-1M"}, {"memory_depth", "1M"},
                                        {"state_speed", "134 MHz"}, {"line", "KVX7PG2UP Option 1M\t1M\t134 MHz"}}});
    EXPECT_EQ(Json::parse(json.out), expected) << json.out;
}

TEST_F(CliTest, UpgradesAllAddsTheRowsThatDoNotFitWithTheReason)
{
    const CliResult r = Run({"--json", "upgrades", kAnalyzerId, "--all"});
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
    const Json rows = Json::parse(r.out);
    ASSERT_EQ(rows.size(), 6u) << r.out;
    const std::vector<std::pair<std::string, bool>> expected = {
        {"KVX7L1AUP-Opt-01", true}, {"KVX7L1AUP-Opt-04", true},  {"KVX7L1AUP-Opt-05", true},
        {"KVX7L1AUP-Opt-FD", false}, {"KVX7L1AUP-Opt-10", false}, {"KVX7L1AUP-Opt-17", false}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(rows[i]["option"], expected[i].first) << i;
        EXPECT_EQ(rows[i]["fits"], expected[i].second) << rows[i].dump();
        EXPECT_EQ(rows[i]["reason"].get<std::string>().empty(), expected[i].second) << rows[i].dump();
    }
    EXPECT_EQ(rows[4]["reason"], "needs memory depth 256K, module has 64K");
}

TEST_F(CliTest, ReportWritesTheFileWithTheChosenUpgradeOrFailsWithTheProgramsMessages)
{
    const std::string path = folder.File("order.txt");
    const CliResult r = Run({"report", kAnalyzerId, "--upgrade", "kvx7l1aup option 05", "--out", path});
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
    EXPECT_EQ(r.out, "Wrote " + path + "\n");
    EXPECT_THAT(ReadBytes(path), HasSubstr("Upgrade option Selected:\r\n\r\n\tUpgrade Kit & Option\tMemory Depth\tState Speed\r\n"
                                           "\tKVX7L1AUP Option 05\t256K\t\t200 MHz\r\n"));
    const std::string unwritable = folder.File("missing") + "/order.txt";
    const CliResult failed = Run({"report", kAnalyzerId, "--out", unwritable});
    EXPECT_EQ(failed.exitCode, 1) << Describe(failed);
    EXPECT_THAT(failed.err, StartsWith("Error when writting to file: " + unwritable + "\n"));
    EXPECT_THAT(failed.err, ::testing::EndsWith("\nstratigon-cli: The operation was unsuccessful.\n"));
    const CliResult noTable = Run({"report", kNoTableId, "--out", folder.File("x.txt")});
    EXPECT_EQ(noTable.exitCode, 1) << Describe(noTable);
    EXPECT_EQ(noTable.err, "Error: No option table defined for this product: KVX7L9Z\n"
                           "stratigon-cli: This kind of product isn't defined in QDMT.\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("x.txt")));
}

TEST_F(CliTest, InstallChangesTheModuleAndTheChangeLastsIntoTheNextRun)
{
    const CliResult r = Run({"install", kAnalyzerId, "kvx7l1aup option 01"});
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
    EXPECT_EQ(r.err, "You have successfully installed the upgrade:\nIncreased from 64K@100 MHz to 256K@100 MHz\n");
    EXPECT_THAT(r.out, HasSubstr("Memory depth:      256K\n"));
    const CliResult later = Run({"--json", "show", kAnalyzerId});
    ASSERT_EQ(later.exitCode, 0) << Describe(later);
    EXPECT_EQ(Json::parse(later.out)["memory_depth"], "256K");
}

TEST_F(CliTest, InstallOutcomesGiveTheirExitCodesAndReasons)
{
    struct Case {
        const char* option;
        int exitCode;
        std::uint32_t result;
        const char* err;
    };
    const Case cases[] = {
        {"FD", 0, 0, "The upgrade is already installed.\nUpgrade not necessary.\n"},
        {"10", 1, 0x800403F5,
         "Error: The current module configuration is incompatible with the upgrade:\n"
         "Increase from 256K@100 MHz to 256K@200 MHz\nUpgrade failed.\n"
         "stratigon-cli: The current module configuration is incompatible with the upgrade.\n"},
    };
    for (const Case& c : cases) {
        const CliResult r = Run({"--json", "install", kAnalyzerId, c.option});
        EXPECT_EQ(r.exitCode, c.exitCode) << Describe(r);
        EXPECT_EQ(r.err, c.err) << c.option;
        const Json printed = Json::parse(r.out);
        EXPECT_EQ(printed["result"], c.result) << c.option;
        EXPECT_EQ(printed["module"]["memory_depth"], "64K") << c.option;
    }
}

TEST_F(CliTest, InstallOfAnOptionTheModuleDoesNotHaveOrRefusesFails)
{
    for (const char* option : {"99", "KVX7L2AUP-Opt-05", "1M"}) {
        const CliResult r = Run({"install", kAnalyzerId, option});
        EXPECT_EQ(r.exitCode, 1) << Describe(r);
        EXPECT_EQ(r.err, "stratigon-cli: The specified upgrade option is not defined for this module.\n") << option;
        EXPECT_EQ(r.out, "");
    }
    Json bench = StandardBench();
    bench["modules"][0]["faults"] = {{"refuse", {"SYST:CONF:DEPT"}}};
    UseBench(bench);
    const CliResult r = Run({"install", kAnalyzerId, "01"});
    EXPECT_EQ(r.exitCode, 1) << Describe(r);
    EXPECT_EQ(r.err, "Error: Unable to change the memory depth to 256K.\nUpgrade failed.\nstratigon-cli: Upgrade failed.\n")
        << "one failure, one message";
}

TEST_F(CliTest, AnUnknownUniqueIdFailsForEveryCommandThatNeedsOne)
{
    const std::vector<std::vector<std::string>> commands = {
        {"show", "00:00:00:00:00:00"},
        {"upgrades", "00:00:00:00:00:00"},
        {"report", "00:00:00:00:00:00", "--out", "x.txt"},
        {"install", "00:00:00:00:00:00", "01"},
    };
    for (const auto& command : commands) {
        const CliResult r = Run(command);
        EXPECT_EQ(r.exitCode, 1) << command[0] << "\n" << Describe(r);
        EXPECT_EQ(r.err, "stratigon-cli: No module has the specified Unique ID.\n") << command[0];
        EXPECT_EQ(r.out, "") << command[0];
    }
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndAReason)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"show"},
        {"show", kAnalyzerId, "extra"},
        {"install", kAnalyzerId},
        {"show", kAnalyzerId, "--all"},
        {"upgrades", kAnalyzerId, "--out", "x.txt"},
        {"--colour", "scan"},
        {"report", kAnalyzerId, "--out"},
        {"show", ""},
    };
    for (const auto& arguments : cases) {
        const CliResult r = RunCli(arguments, folder.Path().string());
        EXPECT_EQ(r.exitCode, 2) << ::testing::PrintToString(arguments) << "\n" << Describe(r);
        EXPECT_THAT(r.err, StartsWith("stratigon-cli: ")) << ::testing::PrintToString(arguments);
        EXPECT_THAT(r.err, HasSubstr("\nusage: stratigon-cli")) << ::testing::PrintToString(arguments);
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(CliTest, HelpAndVersionAreAnsweredWithoutRunningAnything)
{
    const struct {
        std::vector<std::string> arguments;
        std::string startOfOutput;
    } cases[] = {
        {{"--help"}, "usage: stratigon-cli"},
        {{"-h"}, "usage: stratigon-cli"},
        {{"install", "-h"}, "usage: stratigon-cli"},
        {{"--version"}, "stratigon-cli 4.3.225.0\n"},
    };
    for (const auto& test : cases) {
        const CliResult r = RunCli(test.arguments, folder.Path().string());
        EXPECT_EQ(r.exitCode, 0) << ::testing::PrintToString(test.arguments) << "\n" << Describe(r);
        EXPECT_THAT(r.out, StartsWith(test.startOfOutput)) << ::testing::PrintToString(test.arguments);
        EXPECT_EQ(r.err, "") << "no scan, no complaint about an unknown option";
    }
}

TEST_F(CliTest, AVisaLibraryThatCannotBeLoadedFailsWithAReason)
{
    const CliResult r = RunCli({"--visa", folder.File("no-such-visa-library"), "--no-wait", "scan"}, folder.Path().string());
    EXPECT_EQ(r.exitCode, 1) << Describe(r);
    EXPECT_THAT(r.err, StartsWith("stratigon-cli: "));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

TEST_F(CliTest, WithoutNoWaitTheScanWaitsAsTheProgramDoes)
{
    UseBench({{"modules", {Module(0, 3, 24, "analyzer", "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1")}}});
    auto timed = [&](std::vector<std::string> arguments) {
        const auto start = std::chrono::steady_clock::now();
        const CliResult r = RunCli(arguments, folder.Path().string());
        EXPECT_EQ(r.exitCode, 0) << Describe(r);
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    };
    const std::string bench = folder.File("bench.json");
    const auto waited = timed({"--bench", bench, "scan"});
    const auto skipped = timed({"--bench", bench, "--no-wait", "scan"});
    EXPECT_GE(waited - skipped, 1150) << "one second before the scan and a quarter second for the one resource; waited "
                                      << waited << " ms, without waits " << skipped << " ms";
}

#if !defined(_WIN32)
// Where no "C:\My Documents" exists, the report goes to the user's Documents folder.
TEST_F(CliTest, ReportWithoutPathGoesIntoTheDocumentsFolder)
{
    const std::string home = folder.File("home");
    std::filesystem::create_directories(home + "/Documents");
    const char* previous = std::getenv("HOME");
    const std::string saved = previous ? previous : "";
    setenv("HOME", home.c_str(), 1);
    const CliResult r = Run({"report", kAnalyzerId});
    setenv("HOME", saved.c_str(), 1);
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
    EXPECT_EQ(r.out, "Wrote " + home + "/Documents/KVXUpgradeInfo.txt\n");
    EXPECT_TRUE(std::filesystem::exists(home + "/Documents/KVXUpgradeInfo.txt"));
}
#endif

}  // namespace
}  // namespace stratigon::test
