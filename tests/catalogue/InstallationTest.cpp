#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/AutomationResult.h"
#include "catalogue/ModuleBench.h"
#include "catalogue/UpgradeInstallation.h"
#include "module/ModuleCodes.h"

namespace stratigon::test {
namespace {

const std::string kStamp = "SYST:PASS:INST:UPD 1700000000";
const std::string kAlreadyInstalled = "The upgrade is already installed.\nUpgrade not necessary.";

struct Installation {
    std::vector<std::string> messages;
    std::vector<std::string> sent;
    int windowClosed = 0;
    std::string depthAfter, speedAfter;
};

Installation InstallOn(BenchModule module, std::int32_t rowIndex)
{
    ModuleBench bench({std::move(module)});
    EXPECT_EQ(bench.ReadModule(0), ModuleCode::Success);
    Installation result;
    InstallOption(bench.module(), bench.SessionOf(0), rowIndex, bench.sink, [&] { ++result.windowClosed; });
    result.messages = bench.sink.messages;
    result.sent = bench.CommandsSentTo(0);
    result.depthAfter = bench.module().GetMemoryDepth();
    result.speedAfter = bench.module().GetStateSpeed();
    return result;
}

struct SuccessCase {
    const char* what;
    BenchModule module;
    std::int32_t row;
    std::vector<std::string> sent;  // before the update stamp and the reset
    const char* message;
};

TEST(InstallOption, ChangesOnlyWhatDiffersAndReportsOldAndNewConfiguration)
{
    const SuccessCase cases[] = {
        {"deeper memory only", Analyzer("KVX7L1A", "65536", "100"), 1, {"SYST:CONF:DEPT 262144"},
         "You have successfully installed the upgrade:\nIncreased from 64K@100 MHz to 256K@100 MHz"},
        {"same depth, faster: the depth is not sent again", Analyzer("KVX7L1A", "65536", "100"), 2, {"SYST:CONF:SPE 200"},
         "You have successfully installed the upgrade:\nIncreased from 64K@100 MHz to 64K@200 MHz"},
        {"both, speed first", Analyzer("KVX7L1A", "65536", "100"), 3, {"SYST:CONF:SPE 200", "SYST:CONF:DEPT 262144"},
         "You have successfully installed the upgrade:\nIncreased from 64K@100 MHz to 256K@200 MHz"},
        {"resulting speed ANY changes the depth only", Analyzer("KVX5L1", "32768", "200"), 1, {"SYST:CONF:DEPT 131072"},
         "You have successfully installed the upgrade:\nIncreased from 32K@200 MHz to 128K@200 MHz"},
        {"resulting depth ANY changes the speed only", Analyzer("KVX5L1", "524288", "100"), 2, {"SYST:CONF:SPE 200"},
         "You have successfully installed the upgrade:\nIncreased from 512K@100 MHz to 512K@200 MHz"},
        {"factory default away from the base in both", Analyzer("KVX7L1A", "262144", "200"), 0,
         {"SYST:CONF:SPE 100", "SYST:CONF:DEPT 65536"},
         "You have successfully installed the upgrade:\nSet to factory default 64K@100 MHz"},
        {"factory default away from the base in depth", Analyzer("KVX7R2A", "4194304", "100"), 0, {"SYST:CONF:DEPT 65536"},
         "You have successfully installed the upgrade:\nSet to factory default 64K@100 MHz"},
        {"pattern generator memory option", PatternGenerator("STD"), 1, {"SYST:CONF:OPT OPT1M"},
         "You have successfully installed the upgrade:\nIncreased from 256K@134 MHz to 1M@134 MHz"},
        {"pattern generator back to its base", PatternGenerator("OPT1M"), 0, {"SYST:CONF:OPT STD"},
         "You have successfully installed the upgrade:\nSet to factory default 256K@134 MHz"},
    };
    for (const SuccessCase& c : cases) {
        const Installation result = InstallOn(c.module, c.row);
        std::vector<std::string> expectedSent = {"*CLS"};
        expectedSent.insert(expectedSent.end(), c.sent.begin(), c.sent.end());
        expectedSent.insert(expectedSent.end(), {kStamp, "*RST"});
        EXPECT_EQ(result.sent, expectedSent) << c.what;
        EXPECT_EQ(result.messages, std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(result.windowClosed, 1) << c.what << ": a successful install closes the install window";
    }
}

struct RefusalCase {
    const char* what;
    BenchModule module;
    std::int32_t row;
    std::string message;
};

TEST(InstallOption, RefusesWithoutSendingAnythingAndKeepsTheWindowOpen)
{
    const RefusalCase cases[] = {
        {"row does not fit", Analyzer("KVX7L1A", "65536", "100"), 4,
         "Error: The current module configuration is incompatible with the upgrade:\n"
         "Increase from 256K@100 MHz to 256K@200 MHz\nUpgrade failed."},
        {"row with ANY values does not fit", Analyzer("KVX5L1", "65536", "100"), 1,
         "Error: The current module configuration is incompatible with the upgrade:\n"
         "Increase from 32K@ANY to 128K@ANY\nUpgrade failed."},
        {"factory default at the base", Analyzer("KVX7L1A", "65536", "100"), 0, kAlreadyInstalled},
        {"factory default of a two-row table at its base", Analyzer("KVX9XL16A", "16777216", "100"), 0, kAlreadyInstalled},
        {"row index equal to the row count", Analyzer("KVX7L1A", "65536", "100"), 6, "Error: Invalid option #6"},
        {"negative row index", Analyzer("KVX7L1A", "65536", "100"), -1, "Error: Invalid option #-1"},
        {"product without table", Analyzer("KVX7L9Z", "65536", "100"), 1,
         "Error: No option table defined for this product: KVX7L9Z"},
    };
    for (const RefusalCase& c : cases) {
        const Installation result = InstallOn(c.module, c.row);
        EXPECT_TRUE(result.sent.empty()) << c.what << ": sent " << result.sent.size() << " commands";
        EXPECT_EQ(result.messages, std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(result.windowClosed, 0) << c.what;
    }
}

TEST(InstallOption, AFailedChangeIsReportedOnceWhetherOrNotTheChangeSaidWhy)
{
    struct Case {
        const char* refused;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"SYST:CONF:SPE", {"Error: Unable to upgrade the speed to 200 MHz.\nUpgrade failed."}},
        {"SYST:CONF:DEPT", {"Error: Unable to change the memory depth to 256K.\nUpgrade failed."}},
        // The refused update stamp is silent in the change itself: without the code's text the
        // person would not learn that the upgrade failed.
        {"SYST:PASS:INST:UPD", {"Error: Update Failed."}},
    };
    for (const Case& c : cases) {
        BenchModule module = Analyzer("KVX7L1A", "65536", "100");
        module.refused = {c.refused};
        const Installation result = InstallOn(module, 3);
        EXPECT_EQ(result.messages, c.messages) << c.refused;
        EXPECT_EQ(result.windowClosed, 0) << c.refused;
    }
}

// The client sees a result code and no message box of the installation's own; the lower
// layers still show theirs.
TEST(InstallOptionForClient, ReturnsTheAutomationResultOfEveryOutcome)
{
    struct Case {
        const char* what;
        BenchModule module;
        std::int32_t row;
        std::uint32_t result;
        std::vector<std::string> messages;
    };
    BenchModule refusing = Analyzer("KVX7L1A", "65536", "100");
    refusing.refused = {"SYST:CONF:SPE"};
    const Case cases[] = {
        {"installed", Analyzer("KVX7L1A", "65536", "100"), 1, 0, {}},
        {"already installed", Analyzer("KVX7L1A", "65536", "100"), 0, 0, {}},
        {"product without table", Analyzer("KVX7L9Z", "65536", "100"), 1, 0x800403F3,
         {"Error: No option table defined for this product: KVX7L9Z"}},
        {"row index outside", Analyzer("KVX7L1A", "65536", "100"), 6, 0x800403F3, {}},
        {"negative row index", Analyzer("KVX7L1A", "65536", "100"), -3, 0x800403F3, {}},
        {"does not fit", Analyzer("KVX7L1A", "65536", "100"), 4, 0x800403F5, {}},
        {"change refused", refusing, 2, 0x800403F6, {"Error: Unable to upgrade the speed to 200 MHz.\nUpgrade failed."}},
    };
    for (const Case& c : cases) {
        ModuleBench bench({c.module});
        ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success) << c.what;
        EXPECT_EQ(InstallOptionForClient(bench.module(), bench.SessionOf(0), c.row, bench.sink), c.result) << c.what;
        EXPECT_EQ(bench.sink.messages, c.messages) << c.what;
    }
}

}  // namespace
}  // namespace stratigon::test
