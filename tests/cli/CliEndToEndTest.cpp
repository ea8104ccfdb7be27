#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <thread>

#if !defined(_WIN32)
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <nlohmann/json.hpp>

#include "cli/CliProcess.h"
#include "support/ReportDoubles.h"
#include "support/ScopedEnvironment.h"

namespace stratigon::test {
namespace {

using ::testing::EndsWith;
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

std::string LastLine(const std::string& text)
{
    const std::size_t end = text.size() - (!text.empty() && text.back() == '\n' ? 1 : 0);
    const std::size_t start = text.rfind('\n', end == 0 ? 0 : end - 1);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1));
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
    EXPECT_THAT(failed.err, ::testing::EndsWith("\nstratigon-cli: " + unwritable + " could not be written: No such file or directory\n"));
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
    const CliResult again = Run({"install", kAnalyzerId, "01"});
    EXPECT_EQ(again.exitCode, 1) << "the kit asks for the 64K it has replaced\n" << Describe(again);
    EXPECT_EQ(LastLine(again.err), "stratigon-cli: The current module configuration is incompatible with the upgrade.");
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
        EXPECT_THAT(r.err, StartsWith("usage: stratigon-cli")) << ::testing::PrintToString(arguments);
        EXPECT_THAT(LastLine(r.err), StartsWith("stratigon-cli: ")) << "the reason comes last\n" << r.err;
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
    // Only a lower bound, which a busy machine cannot break: a wait never ends early (give or
    // take the timer's granularity).
    const std::string bench = folder.File("bench.json");
    const auto waited = timed({"--bench", bench, "scan"});
    EXPECT_GE(waited, 1200) << "one second before the scan and a quarter second for the one resource";
    timed({"--bench", bench, "--no-wait", "scan"});
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


// What every failure of a command that names a module gives: its reason as the last line, and
// to a program an object with the result code and the same reason.
TEST_F(CliTest, EveryFailureEndsWithItsReasonAndGivesProgramsTheResultAndMessage)
{
    const std::string unwritable = folder.File("missing") + "/order.txt";
    const std::string order = folder.File("order.txt");
    const std::string notDefined = "The specified upgrade option is not defined for this module.";
    const std::string incompatible = "The current module configuration is incompatible with the upgrade.";
    const struct {
        std::vector<std::string> arguments;
        std::uint32_t result;
        std::string reason;
    } cases[] = {
        {{"show", "00:00:00:00:00:00"}, 0x800403F2, "No module has the specified Unique ID."},
        {{"upgrades", kNoTableId}, 0x800403F7, "This kind of product isn't defined in QDMT."},
        {{"report", kAnalyzerId, "--out", unwritable}, 0x800403EA, unwritable + " could not be written: No such file or directory"},
        {{"report", kAnalyzerId, "--upgrade", "nonsense", "--out", order}, 0x800403F3, notDefined},
        {{"report", kAnalyzerId, "--upgrade", "KVX7L1AUP Option 0", "--out", order}, 0x800403F3, notDefined},
        {{"report", kAnalyzerId, "--upgrade", "10", "--out", order}, 0x800403F5, incompatible},
        {{"install", kAnalyzerId, "99"}, 0x800403F3, notDefined},
        {{"install", kAnalyzerId, "10"}, 0x800403F5, incompatible},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.begin(), "--json");
        const CliResult r = Run(arguments);
        EXPECT_EQ(r.exitCode, 1) << Describe(r);
        EXPECT_EQ(LastLine(r.err), "stratigon-cli: " + c.reason) << r.err;
        const Json printed = Json::parse(r.out, nullptr, false);
        EXPECT_EQ(printed["result"], c.result) << r.out;
        EXPECT_EQ(printed["message"], c.reason) << r.out;
    }
    EXPECT_FALSE(std::filesystem::exists(order)) << "a report without its upgrade is not written";
}

TEST_F(CliTest, ABenchFileThatCannotBeUsedEndsTheRunWithItsReason)
{
    const std::string bench = folder.File("bench.json");
    const struct {
        const char* text;  // null: no bench file
        std::string reason;
    } cases[] = {
        {nullptr, ": the file does not exist"},
        {"{ \"modules\": [ {\n    \"depht\": 262144 } ] }", ": line 2, column 5: modules[0].depht is no field of a bench file; did you mean depth?"},
        {R"({ "module": [ {} ] })", ": line 1, column 3: module is no field of a bench file; did you mean modules?"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(bench);
        if (c.text != nullptr)
            WriteBytes(bench, c.text);
        const CliResult r = Run({"scan"});
        EXPECT_EQ(r.exitCode, 1) << Describe(r);
        EXPECT_THAT(LastLine(r.err), StartsWith("stratigon-cli: the scan failed: Simulated bench ")) << r.err;
        EXPECT_THAT(LastLine(r.err), EndsWith(c.reason)) << r.err;
    }
}

TEST_F(CliTest, ModulesAreNamedByUniqueIdOrBySerialNumberInAnyLetterCase)
{
    const std::vector<std::vector<std::string>> commands = {
        {"show", "b012345"},
        {"upgrades", "B012345"},
        {"report", "b012345", "--out", folder.File("order.txt")},
        {"install", "b012345", "01"},
        {"show", "c100200"},
    };
    for (const auto& command : commands) {
        const CliResult r = Run(command);
        EXPECT_EQ(r.exitCode, 0) << ::testing::PrintToString(command) << "\n" << Describe(r);
    }
    EXPECT_THAT(Run({"show", "c100200"}).out, HasSubstr(std::string("Unique ID:         ") + kGeneratorId + "\n"));
}

TEST_F(CliTest, ReportNamesItsUpgradeAsInstallDoes)
{
    const std::string path = folder.File("order.txt");
    for (const char* designation : {"05", "KVX7L1AUP-Opt-05", "kvx7l1aup option 05"}) {
        const CliResult r = Run({"report", kAnalyzerId, "--upgrade", designation, "--out", path});
        EXPECT_EQ(r.exitCode, 0) << designation << "\n" << Describe(r);
        EXPECT_THAT(ReadBytes(path), HasSubstr("Upgrade option Selected:\r\n\r\n\tUpgrade Kit & Option\tMemory Depth\t"
                                               "State Speed\r\n\tKVX7L1AUP Option 05\t256K\t\t200 MHz\r\n"))
            << designation;
    }
}

TEST_F(CliTest, ReportLeavesAReadOnlyFileAsItWas)
{
    namespace fs = std::filesystem;
    const std::string path = folder.File("order.txt");
    WriteBytes(path, "the person's own file\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const CliResult r = Run({"report", kAnalyzerId, "--out", path});
    const bool stillReadOnly = (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none;
    const std::string content = ReadBytes(path);
    fs::permissions(path, fs::perms::owner_all);
    EXPECT_EQ(r.exitCode, 1) << Describe(r);
    EXPECT_EQ(LastLine(r.err), "stratigon-cli: " + path + " is read-only; it was left as it was.");
    EXPECT_EQ(content, "the person's own file\n");
    EXPECT_TRUE(stillReadOnly);
}

TEST_F(CliTest, AnInstallationTheBenchCannotKeepFailsAsAModuleRefusal)
{
    const ScopedEnvironment state("STRATIGON_SIM_STATE", folder.File("bench.json") + "/state.json");
    const CliResult r = Run({"install", kAnalyzerId, "01"});
    EXPECT_EQ(r.exitCode, 1) << Describe(r);
    EXPECT_THAT(r.err, EndsWith("Error: Update Failed.\nstratigon-cli: Upgrade failed.\n"));
    EXPECT_THAT(r.out, HasSubstr("Memory depth:      64K\n")) << "the module as it still is";
}

#if defined(_WIN32)
TEST_F(CliTest, WithoutAVisaLibraryTheToolSaysItUsesTheSimulatedBenchBesideIt)
{
    namespace fs = std::filesystem;
    const fs::path built = fs::path(STRATIGON_CLI).parent_path();
    const ScopedEnvironment bench("STRATIGON_SIM_BENCH", folder.File("bench.json"));
    const std::pair<const char*, const char*> layouts[] = {{"build", "visa32.dll"}, {"zip", "Simulated bench\\visa32.dll"}};
    for (const auto& [name, simulator] : layouts) {
        const fs::path tool = folder.Path() / name;
        fs::create_directories((tool / simulator).parent_path());
        fs::copy_file(STRATIGON_CLI, tool / "stratigon-cli.exe");
        fs::copy_file(built / "visa32.dll", tool / simulator);
        const CliResult r = RunProgram((tool / "stratigon-cli.exe").string(), {"--no-wait", "scan"}, folder.Path().string());
        EXPECT_EQ(r.exitCode, 0) << name << "\n" << Describe(r);
        EXPECT_THAT(r.err, StartsWith("stratigon-cli: No VISA library is installed; using the simulated bench ")) << name;
        EXPECT_THAT(r.err, EndsWith(std::string(simulator) + ".\n")) << name;
        EXPECT_THAT(r.out, HasSubstr("B012345")) << name;
    }
}
#else
TEST_F(CliTest, TheVisaLibraryThatPyvisaIsSetToUseComesBeforeTheSimulatedBench)
{
    const ScopedEnvironment bench("STRATIGON_SIM_BENCH", folder.File("bench.json"));
    const std::string home = folder.File("home");
    std::filesystem::create_directories(home);
    const struct {
        const char* what;
        std::string variable, pyvisarc;
        bool simulatorStandsIn;
    } cases[] = {
        {"PYVISA_LIBRARY", std::string(STRATIGON_SIM_LIBRARY) + "@ivi", "", false},
        {"~/.pyvisarc", "", std::string("[Paths]\nVISA library = ") + STRATIGON_SIM_LIBRARY + "\n", false},
        {"pyvisa's own backend", "@py", "", true},
        {"nothing", "", "", true},
    };
    for (const auto& c : cases) {
        WriteBytes(home + "/.pyvisarc", c.pyvisarc);
        const ScopedEnvironment variable("PYVISA_LIBRARY", c.variable);
        const ScopedEnvironment homeVariable("HOME", home);
        const CliResult r = RunCli({"--no-wait", "scan"}, folder.Path().string());
        EXPECT_EQ(r.exitCode, 0) << c.what << "\n" << Describe(r);
        EXPECT_EQ(r.err.find("using the simulated bench") != std::string::npos, c.simulatorStandsIn) << c.what << "\n" << r.err;
    }
}
#endif


// The install journal, read back as a lab would: through the tool's own journal command.
class CliJournalTest : public CliTest {
protected:
    Json Journal()
    {
        const CliResult r = RunCli({"--json", "journal"}, folder.Path().string());
        EXPECT_EQ(r.exitCode, 0) << Describe(r);
        return Json::parse(r.out, nullptr, false);
    }

    const std::string journal = folder.File("journal.csv");
    const ScopedEnvironment variable{"STRATIGON_JOURNAL", journal};
};

TEST_F(CliJournalTest, EveryOutcomeIsRecordedBeforeAndAfterWithWhatThePersonSaw)
{
    const struct {
        const char* option;
        const char* kit;
        const char* event;
        const char* code;
        const char* after;
        std::string text;
    } cases[] = {
        {"01", "KVX7L1AUP-Opt-01", "succeeded", "0", "256K",
         "You have successfully installed the upgrade: Increased from 64K@100 MHz to 256K@100 MHz"},
        {"01", "KVX7L1AUP-Opt-01", "refused", "0x800403F5", "256K",
         "Error: The current module configuration is incompatible with the upgrade: Increase from 64K@100 MHz to "
         "256K@100 MHz Upgrade failed. / The current module configuration is incompatible with the upgrade."},
        {"99", "", "refused", "0x800403F3", "256K", "The specified upgrade option is not defined for this module."},
        {"FD", "KVX7L1AUP-Opt-FD", "succeeded", "0", "64K",
         "You have successfully installed the upgrade: Set to factory default 64K@100 MHz"},
        {"FD", "KVX7L1AUP-Opt-FD", "already installed", "0", "64K",
         "The upgrade is already installed. Upgrade not necessary."},
    };
    for (const auto& c : cases)
        Run({"install", "b012345", c.option});
    Json refusing = StandardBench();
    refusing["modules"][0]["faults"] = {{"refuse", {"SYST:CONF:DEPT"}}};
    UseBench(refusing);
    Run({"install", kAnalyzerId, "01"});

    const Json records = Journal();
    ASSERT_EQ(records.size(), 2 * std::size(cases) + 2) << records.dump(1);
    for (std::size_t i = 0; i < records.size(); i += 2) {
        const Json& started = records[i];
        const Json& ended = records[i + 1];
        EXPECT_EQ(started["event"], "started");
        EXPECT_EQ(started["attempt"], ended["attempt"]);
        EXPECT_TRUE(std::regex_match(started["time"].get<std::string>(), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")))
            << started["time"];
        EXPECT_NE(ended["computer"], "");
        EXPECT_NE(ended["user"], "");
        const Json where = {ended["front_end"], ended["resource"], ended["frame"], ended["slot"], ended["product"],
                            ended["serial_number"], ended["unique_id"]};
        EXPECT_EQ(where, Json({"command line", "VXI0::24::INSTR", "Mainframe", "3", "KVX7L1A", "B012345", kAnalyzerId}));
        EXPECT_EQ(started["depth_before"], ended["depth_before"]);
        EXPECT_EQ(started["depth_after"], "") << "nothing is read back before the end";
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Json& ended = records[2 * i + 1];
        const Json expected = {cases[i].kit, cases[i].event, cases[i].code, cases[i].after, cases[i].text};
        EXPECT_EQ(Json({ended["kit_option"], ended["event"], ended["result_code"], ended["depth_after"],
                        ended["result_text"]}),
                  expected);
    }
    const Json& refused = records.back();
    EXPECT_EQ(Json({refused["event"], refused["result_code"], refused["result_text"]}),
              Json({"failed", "0x800403F6", "Error: Unable to change the memory depth to 256K. Upgrade failed. / Upgrade failed."}));
}

TEST_F(CliJournalTest, ThreeProcessesInstallingAtOnceLoseNoRecordAndTearNoLine)
{
    Json bench = {{"modules", Json::array()}};
    for (int i = 0; i < 3; ++i) {
        Json analyzer = Module(0, 3 + i, 24 + 8 * i, "analyzer", ("QUORVALIS,KVX7L1A,B01234" + std::to_string(i) + ",FVER:4.2.1").c_str());
        analyzer["latency_ms"] = 20;
        bench["modules"].push_back(analyzer);
    }
    UseBench(bench);
    std::vector<std::thread> installers;
    std::vector<CliResult> results(3);
    for (int i = 0; i < 3; ++i) {
        const std::string work = folder.File("process-" + std::to_string(i));
        std::filesystem::create_directories(work);
        installers.emplace_back([&, i, work] {
            results[i] = RunCli({"--bench", folder.File("bench.json"), "--no-wait", "install", "B01234" + std::to_string(i), "05"}, work);
        });
    }
    for (std::thread& installer : installers)
        installer.join();
    for (const CliResult& r : results)
        EXPECT_EQ(r.exitCode, 0) << Describe(r);
    const CliResult listed = RunCli({"--json", "journal"}, folder.Path().string());
    EXPECT_EQ(listed.err, "") << "no line is torn";
    std::map<std::string, std::vector<std::string>> events;
    for (const Json& record : Json::parse(listed.out))
        events[record["serial_number"]].push_back(record["event"]);
    const std::vector<std::string> whole = {"started", "succeeded"};
    EXPECT_EQ(events, (std::map<std::string, std::vector<std::string>>{{"B012340", whole}, {"B012341", whole}, {"B012342", whole}}));
}

TEST_F(CliJournalTest, ATornLastLineIsSkippedWithAWarningAndHidesNothing)
{
    ASSERT_EQ(Run({"install", kAnalyzerId, "01"}).exitCode, 0);
    const std::string whole = ReadBytes(journal);
    WriteBytes(journal, whole + "\"2026-03-04T10:15:30Z\",\"lab-pc\",\"ann\",\"comm");
    const CliResult torn = RunCli({"--json", "journal"}, folder.Path().string());
    EXPECT_EQ(torn.exitCode, 0);
    EXPECT_EQ(torn.err, "stratigon-cli: " + journal + " line 4 is not a whole record (cut off while it was written) and is skipped.\n");
    EXPECT_EQ(Json::parse(torn.out).size(), 2u);
    ASSERT_EQ(Run({"install", kAnalyzerId, "FD"}).exitCode, 0);
    EXPECT_EQ(Json::parse(RunCli({"--json", "journal"}, folder.Path().string()).out).size(), 4u)
        << "the next record starts a line of its own";
    const CliResult chosen = RunCli({"--json", "journal", "--serial", "b012345", "--since", "2999-01-01"}, folder.Path().string());
    EXPECT_EQ(Json::parse(chosen.out), Json::array()) << "nothing recorded after that date";
}

TEST_F(CliJournalTest, AnInstallationThatNeverEndedIsMarked)
{
    WriteBytes(journal, "\"time\",\"computer\",\"user\",\"front_end\",\"attempt\",\"event\",\"resource\",\"frame\",\"slot\","
                        "\"product\",\"serial_number\",\"unique_id\",\"kit_option\",\"depth_before\",\"speed_before\","
                        "\"depth_after\",\"speed_after\",\"result_code\",\"result_text\"\r\n"
                        "\"2026-03-04T10:15:30Z\",\"lab-pc\",\"ann\",\"automation\",\"77-1\",\"started\",\"VXI0::24::INSTR\","
                        "\"Mainframe\",\"3\",\"KVX7L1A\",\"B012345\",\"13:18:C1:00:30:39\",\"KVX7L1AUP-Opt-05\",\"64K\","
                        "\"100 MHz\",\"\",\"\",\"\",\"\"\r\n");
    ASSERT_EQ(Run({"install", kAnalyzerId, "01"}).exitCode, 0);
    const Json records = Journal();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ((std::vector<bool>{records[0]["unfinished"], records[1]["unfinished"], records[2]["unfinished"]}),
              (std::vector<bool>{true, false, false}));
    EXPECT_THAT(RunCli({"journal"}, folder.Path().string()).out, HasSubstr("started DID NOT FINISH"));
}

TEST_F(CliJournalTest, AnUnwritableJournalCostsNoUpgradeAndIsToldOnce)
{
    const ScopedEnvironment unwritable("STRATIGON_JOURNAL", folder.File("bench.json") + "/journal.csv");
    const CliResult r = Run({"install", kAnalyzerId, "01"});
    EXPECT_EQ(r.exitCode, 0) << Describe(r);
    EXPECT_THAT(r.out, HasSubstr("Memory depth:      256K\n"));
    const std::string warning = "The install journal cannot be written";
    EXPECT_THAT(r.err, StartsWith(warning)) << "before the module is touched";
    EXPECT_EQ(r.err.find(warning), r.err.rfind(warning)) << r.err;
}

#if !defined(_WIN32)
// A writer killed at random moments: whatever it leaves, every line but the last is whole, and
// readers skip at most that one.
TEST_F(CliJournalTest, WritersKilledAtRandomMomentsLeaveReadersAWholeJournal)
{
    Json bench = StandardBench();
    bench["modules"][0]["latency_ms"] = 3;
    UseBench(bench);
    std::mt19937 random(42);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = fork();
        if (child == 0) {
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            execl(STRATIGON_CLI, STRATIGON_CLI, "--bench", folder.File("bench.json").c_str(), "--no-wait", "install",
                  kAnalyzerId, round % 2 == 0 ? "01" : "FD", static_cast<char*>(nullptr));
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 120));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    const CliResult listed = RunCli({"--json", "journal"}, folder.Path().string());
    EXPECT_LE(std::count(listed.err.begin(), listed.err.end(), '\n'), 1) << listed.err;
    for (const Json& record : Json::parse(listed.out))
        EXPECT_EQ(record["unique_id"], kAnalyzerId) << record.dump();
}
#endif

TEST_F(CliTest, TheOrderListHasEveryPossibleUpgradeOfEveryModuleAndWhyOneHasNone)
{
    Json bench = StandardBench();
    for (const char* idn : {"QUORVALIS,KVX5L1,B000000,FVER:3.1.0", "QUORVALIS,KVX9XL64A,N204060,FVER:5.0.2",
                            "QUORVALIS,KVX7R1A,J300400,FVER:4.3.0"})
        bench["modules"].push_back(Module(3, static_cast<int>(bench["modules"].size()), 8 * static_cast<int>(bench["modules"].size()) + 100, "analyzer", idn));
    bench["modules"][4]["memory"] = {{"0x5000048", 305419896}, {"0x500004C", 0}};
    Json silent = Module(3, 9, 200, "analyzer", "QUORVALIS,KVX7L1A,B000999,FVER:4.2.1");
    silent["faults"] = {{"no_answer", {"SYST:CONF:DEPT?"}}};
    bench["modules"].push_back(silent);
    UseBench(bench);
    const CliResult r = Run({"--json", "upgrades"});
    ASSERT_EQ(r.exitCode, 0) << Describe(r);
    std::map<std::string, std::vector<std::string>> listed, reasons;
    for (const Json& line : Json::parse(r.out)) {
        const std::string slot = line["frame_name"].get<std::string>() + " " + std::to_string(line["slot"].get<int>());
        if (line["option"] != "")
            listed[line["unique_id"]].push_back(line["option"]);
        else
            reasons[slot].push_back(line["reason"]);
    }
    for (const auto& [uniqueId, options] : listed) {
        std::vector<std::string> own;
        for (const Json& upgrade : Json::parse(Run({"--json", "upgrades", uniqueId}).out))
            own.push_back(upgrade["option"]);
        EXPECT_EQ(options, own) << uniqueId;
    }
    EXPECT_EQ(listed.size(), 4u) << r.out;
    EXPECT_EQ(reasons, (std::map<std::string, std::vector<std::string>>{
                           {"Expansion-1 7", {"This kind of product isn't defined in QDMT."}},
                           {"Expansion-2 1", {"This module cannot be Stratigoned."}},
                           {"Expansion-3 5", {"- No Possible Upgrades -"}},
                           {"Expansion-3 9", {"Error: Failure when querying module."}}}));
    const CliResult csv = Run({"upgrades", "--csv"});
    EXPECT_THAT(csv.out, StartsWith("\"frame\",\"slot\",\"product\",\"serial_number\",\"unique_id\",\"memory_depth\","));
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), static_cast<long>(Json::parse(r.out).size()) + 1);
}

}  // namespace
}  // namespace stratigon::test
