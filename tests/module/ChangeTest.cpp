#include <gtest/gtest.h>

#include <algorithm>

#include "module/ModuleCodes.h"
#include "tests/module/ModuleTestSupport.h"

namespace stratigon::test {
namespace {

const std::string kStamp = "SYST:PASS:INST:UPD 1700000000";
const std::string kDepthFailed1M = "Error: Unable to change the memory depth to 1M.\nUpgrade failed.";

class ChangeTest : public ModuleTest {
protected:
    void ReadFirst(bool generator)
    {
        ASSERT_EQ(ReadWith(generator ? std::vector<std::string>{kPatternGeneratorIdn, "STD"} : AnalyzerAnswers()), ModuleCode::Success);
    }

    int Change(const std::string& depth, const std::string& speed, const std::vector<std::string>& answers)
    {
        visa.answers.assign(answers.begin(), answers.end());
        visa.writes.clear();
        sink.messages.clear();
        return module.ChangeConfiguration(kSession, depth, speed);
    }

    // What was sent, without the error-queue checks that follow every command.
    std::vector<std::string> Commands() const
    {
        std::vector<std::string> commands;
        std::copy_if(visa.writes.begin(), visa.writes.end(), std::back_inserter(commands),
                     [](const std::string& w) { return w != "SYST:ERR?"; });
        return commands;
    }
};

TEST_F(ChangeTest, AcceptedChangesClearSetStampResetAndReadTheModuleBack)
{
    struct Case {
        bool generator;
        const char* depth;
        const char* speed;
        std::vector<std::string> sent;
        const char* reportedDepth;
        const char* shownDepth;
    };
    const Case cases[] = {
        {false, "1M", "", {"*CLS", "SYST:CONF:DEPT 1048576", kStamp, "*RST"}, "1048576", "1M"},
        {false, "", "200 MHz", {"*CLS", "SYST:CONF:SPE 200", kStamp, "*RST"}, "65536", "64K"},
        {false, "", "200MHz", {"*CLS", "SYST:CONF:SPE 200", kStamp, "*RST"}, "65536", "64K"},
        {false, "1m", "", {"*CLS", "SYST:CONF:DEPT 1048576", kStamp, "*RST"}, "1048576", "1M"},
        {false, "2M", "200 MHz", {"*CLS", "SYST:CONF:SPE 200", "SYST:CONF:DEPT 2097152", kStamp, "*RST"}, "2097152", "2M"},
        {false, "", "", {"*CLS", kStamp, "*RST"}, "65536", "64K"},
        {true, "1M", "200 MHz", {"*CLS", "SYST:CONF:OPT OPT1M", kStamp, "*RST"}, "OPT1M", "1M"},
        {true, "256K", "", {"*CLS", "SYST:CONF:OPT STD", kStamp, "*RST"}, "STD", "256K"},
    };
    for (const Case& c : cases) {
        ReadFirst(c.generator);
        const std::vector<std::string> readBack =
            c.generator ? std::vector<std::string>{kPatternGeneratorIdn, c.reportedDepth}
                        : std::vector<std::string>{kAnalyzerIdn, "136", c.reportedDepth, "200", "125", "2.5E-9"};
        const std::vector<std::string> accepted(c.sent.size(), kClear);
        EXPECT_EQ(Change(c.depth, c.speed, Joined(accepted, readBack)), 104) << c.depth << "/" << c.speed;
        std::vector<std::string> sent = Commands();
        ASSERT_GT(sent.size(), c.sent.size()) << "no read-back after " << c.depth << "/" << c.speed;
        EXPECT_EQ(sent[c.sent.size()], "*IDN?");
        sent.resize(c.sent.size());
        EXPECT_EQ(sent, c.sent) << c.depth << "/" << c.speed;
        EXPECT_EQ(module.GetMemoryDepth(), c.shownDepth) << c.depth << "/" << c.speed;
        EXPECT_TRUE(sink.messages.empty()) << sink.messages.front();
    }
}

TEST_F(ChangeTest, AFailedStepStopsTheChangeAndSaysWhyWithTheRecordUnchanged)
{
    struct Case {
        const char* name;
        bool generator;
        const char* depth;
        const char* speed;
        std::vector<std::string> answers;
        std::vector<std::string> sent;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"clear refused", false, "1M", "", {kRefused}, {"*CLS"}, {"Error: Upgrade failed!"}},
        {"speed refused", false, "1M", "200 MHz", {kClear, kRefused}, {"*CLS", "SYST:CONF:SPE 200"},
         {"Error: Unable to upgrade the speed to 200 MHz.\nUpgrade failed."}},
        {"depth refused", false, "1M", "", {kClear, kRefused}, {"*CLS", "SYST:CONF:DEPT 1048576"}, {kDepthFailed1M}},
        {"option refused", true, "1M", "", {kClear, kRefused}, {"*CLS", "SYST:CONF:OPT OPT1M"}, {kDepthFailed1M}},
        {"unknown depth", false, "3M", "", {kClear}, {"*CLS"}, {"Error: Invalid Memory Depth: 3M"}},
        {"unknown depth after speed", false, "3M", "200 MHz", {kClear, kClear}, {"*CLS", "SYST:CONF:SPE 200"},
         {"Error: Invalid Memory Depth: 3M"}},
        {"unknown option", true, "64K", "", {kClear}, {"*CLS"},
         {"Error: Invalid Memory Depth: 64K", "Error: Unknown Pattern Generator option.\nUpgrade failed."}},
        {"stamp refused", false, "1M", "", {kClear, kClear, kRefused}, {"*CLS", "SYST:CONF:DEPT 1048576", kStamp}, {}},
        {"reset refused", false, "1M", "", {kClear, kClear, kClear, kRefused},
         {"*CLS", "SYST:CONF:DEPT 1048576", kStamp, "*RST"}, {"Error: Unable to reset the module.\nUpgrade failed."}},
    };
    for (const Case& c : cases) {
        ReadFirst(c.generator);
        const Record before = RecordOf(module);
        EXPECT_EQ(Change(c.depth, c.speed, c.answers), 105) << c.name;
        EXPECT_EQ(Commands(), c.sent) << c.name;
        EXPECT_EQ(sink.messages, c.messages) << c.name;
        EXPECT_EQ(RecordOf(module), before) << c.name;
    }
}

TEST_F(ChangeTest, AModuleOfUnknownTypeIsNotTouched)
{
    EXPECT_EQ(Change("1M", "200 MHz", {kClear}), 108) << "before any readout";
    ASSERT_EQ(ReadWith({"QUORVALIS,KVX8L1A,B012345,FVER:4.2.1"}), 108);
    EXPECT_EQ(Change("1M", "200 MHz", {kClear}), 108) << "after an unknown product";
    EXPECT_TRUE(visa.writes.empty());
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ChangeTest, TheUpdateStampCarriesTheClocksSeconds)
{
    ReadFirst(false);
    clock.seconds = 4102444800;  // beyond 32 bits of signed seconds
    EXPECT_EQ(Change("", "", {kClear, kRefused}), 105);
    EXPECT_EQ(Commands(), (std::vector<std::string>{"*CLS", "SYST:PASS:INST:UPD 4102444800"}));
}

}  // namespace
}  // namespace stratigon::test
