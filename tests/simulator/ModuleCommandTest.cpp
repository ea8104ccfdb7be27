// What the simulated modules answer and how they treat commands: identity and configuration
// queries, the error queue, settings that wait for "*RST", and memory words.
#include "SimulatorTest.h"
#include "simulator/VisaExports.h"

#include <cstdlib>
#include <vector>

namespace stratigon::sim::test {
namespace {

const char* const kAnalyzer = "VXI0::24::INSTR";
const char* const kPatternGenerator = "VXI1::16::INSTR";
const char* const kOther = "VXI0::64::INSTR";

const char* const kBench = R"({ "modules": [
  { "resource": "VXI0::24::INSTR", "kind": "analyzer", "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1",
    "channels": "136", "depth": 65536, "state_speed_mhz": 100, "hres_period_ps": 125,
    "async_period_s": 2.5e-9, "memory": { "0x5000048": 305419896, "0x500004C": 282 } },
  { "resource": "VXI1::16::INSTR", "kind": "pattern-generator", "idn": "QUORVALIS,KVX7PG2,C100200,FW:2.0.5",
    "pattern_option": "STD" },
  { "resource": "VXI0::64::INSTR", "kind": "other", "idn": "OTHERCO,DMM-1,0,1.0" }
] })";

const char* const kNoError = "0,\"No error\"";

class ModuleCommands : public SimulatorTest {
protected:
    void SetUp() override { UseVolatileBench(kBench); }

    // Nothing may wait to be read after a command or a refused query.
    void ExpectNoAnswer(ViSession vi, const std::string& context)
    {
        EXPECT_EQ(Hex(ReadOnce(vi, 256).status), Hex(VI_ERROR_TMO)) << context << " must leave no answer";
    }
};

TEST_F(ModuleCommands, QueriesAnswerWithTheBenchConfiguration)
{
    struct Case {
        const char* resource;
        const char* query;
        const char* answer;
    };
    const Case cases[] = {
        {kAnalyzer, "*IDN?", "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1"},
        {kAnalyzer, "SYST:CONF:WIDT?", "136"},
        {kAnalyzer, "SYST:CONF:DEPT?", "65536"},
        {kAnalyzer, "SYST:CONF:SPE?", "100"},
        {kAnalyzer, "SYST:CONF:TICL:HRES?", "125"},
        {kAnalyzer, "PEEKL? #H5000048", "#H12345678"},
        {kAnalyzer, "PEEKW? #H500004c", "#H011A"},
        {kAnalyzer, "PEEKW? #H5000048", "#H5678"},
        {kAnalyzer, "PEEKL? #H7000000", "#H00000000"},
        {kAnalyzer, "SYST:PASS:INST:UPD?", "0"},
        {kPatternGenerator, "*IDN?", "QUORVALIS,KVX7PG2,C100200,FW:2.0.5"},
        {kPatternGenerator, "SYST:CONF:OPT?", "STD"},
        {kOther, "*IDN?", "OTHERCO,DMM-1,0,1.0"},
    };
    for (const Case& c : cases) {
        const ViSession vi = Open(c.resource);
        EXPECT_EQ(Ask(vi, c.query), c.answer) << c.resource << " " << c.query;
        EXPECT_EQ(NextError(vi), kNoError) << c.resource << " " << c.query;
    }
}

TEST_F(ModuleCommands, TheClockPeriodReadsBackAsANumber)
{
    const ViSession vi = Open(kAnalyzer);
    const std::string answer = Ask(vi, "SOUR:CLOC:PER?");
    EXPECT_DOUBLE_EQ(std::atof(answer.c_str()), 2.5e-9) << answer;
}

TEST_F(ModuleCommands, TheErrorQueueGivesOneEntryPerQueryOldestFirst)
{
    const ViSession vi = Open(kAnalyzer);
    EXPECT_EQ(NextError(vi), kNoError);
    ASSERT_EQ(Send(vi, "NOT:A:COMMAND"), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "SYST:CONF:DEPT 3"), VI_SUCCESS);
    EXPECT_EQ(NextError(vi), "-113,\"Undefined header\"");
    EXPECT_EQ(NextError(vi), "-222,\"Data out of range\"");
    EXPECT_EQ(NextError(vi), kNoError);
    EXPECT_EQ(NextError(vi), kNoError);
}

TEST_F(ModuleCommands, ClearingTheStatusEmptiesTheErrorQueue)
{
    const ViSession vi = Open(kAnalyzer);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Send(vi, "BOGUS"), VI_SUCCESS);
    }
    ASSERT_EQ(Send(vi, "*CLS"), VI_SUCCESS);
    EXPECT_EQ(NextError(vi), kNoError);
}

TEST_F(ModuleCommands, AFloodOfErrorsEndsInAnOverflowEntry)
{
    const ViSession vi = Open(kAnalyzer);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(Send(vi, "BOGUS"), VI_SUCCESS);
    }
    std::vector<std::string> entries;
    for (std::string entry = NextError(vi); entry != kNoError && entries.size() < 200; entry = NextError(vi)) {
        entries.push_back(entry);
    }
    ASSERT_FALSE(entries.empty());
    EXPECT_LT(entries.size(), 100U) << "the queue is bounded";
    EXPECT_EQ(entries.back(), "-350,\"Queue overflow\"");
}

struct MalformedCase {
    const char* resource;
    const char* message;
    const char* error;
};

const MalformedCase kMalformed[] = {
    {kAnalyzer, "BOGUS", "-113,"},
    {kAnalyzer, "*idn?", "-113,"},
    {kAnalyzer, "SYST:CONF:OPT?", "-113,"},
    {kPatternGenerator, "SYST:CONF:DEPT?", "-113,"},
    {kOther, "SYST:CONF:WIDT?", "-113,"},
    {kOther, "*RST", "-113,"},
    {kOther, "PEEKL? #H5000048", "-113,"},
    {kAnalyzer, "*IDN? 1", "-108,"},
    {kAnalyzer, "SYST:CONF:DEPT", "-109,"},
    {kAnalyzer, "SYST:CONF:DEPT ", "-109,"},
    {kAnalyzer, "SYST:CONF:DEPT deep", "-104,"},
    {kAnalyzer, "SYST:CONF:DEPT 100000", "-222,"},
    {kAnalyzer, "SYST:CONF:DEPT 16384", "-222,"},
    {kAnalyzer, "SYST:CONF:DEPT 2147483648", "-222,"},
    {kAnalyzer, "SYST:CONF:DEPT 99999999999999999999999", "-222,"},
    {kAnalyzer, "SYST:CONF:SPE 0", "-222,"},
    {kAnalyzer, "SYST:CONF:SPE 10001", "-222,"},
    {kAnalyzer, "SYST:CONF:SPE 200MHz", "-104,"},
    {kAnalyzer, "SYST:CONF:SPE", "-109,"},
    {kAnalyzer, "SYST:PASS:INST:UPD", "-109,"},
    {kAnalyzer, "SYST:PASS:INST:UPD soon", "-104,"},
    {kAnalyzer, "SYST:PASS:INST:UPD -5", "-222,"},
    {kAnalyzer, "PEEKL? 5000048", "-104,"},
    {kAnalyzer, "PEEKL?", "-109,"},
    {kAnalyzer, "PEEKW? #H1FFFFFFFF", "-222,"},
    {kAnalyzer, "POKEL #H5000048", "-109,"},
    {kAnalyzer, "POKEL #H5000048, #H1G", "-104,"},
    {kAnalyzer, "POKEL #H5000048, #H100000000", "-222,"},
    {kAnalyzer, "POKEW #H500004C, #H10000", "-222,"},
    {kPatternGenerator, "SYST:CONF:OPT OPT2M", "-224,"},
    {kPatternGenerator, "SYST:CONF:OPT std", "-224,"},
    {kPatternGenerator, "SYST:CONF:OPT", "-109,"},
};

TEST_F(ModuleCommands, MalformedMessagesQueueTheirErrorAndAnswerNothing)
{
    for (const MalformedCase& c : kMalformed) {
        const ViSession vi = Open(c.resource);
        ASSERT_EQ(Send(vi, c.message), VI_SUCCESS) << c.message;
        ExpectNoAnswer(vi, std::string(c.resource) + " " + c.message);
        const std::string error = NextError(vi);
        EXPECT_EQ(error.rfind(c.error, 0), 0U) << c.resource << " " << c.message << " queued " << error;
        EXPECT_EQ(NextError(vi), kNoError) << c.message << " queues exactly one error";
    }
}

TEST_F(ModuleCommands, AcceptedCommandsLeaveTheErrorQueueClear)
{
    struct Case {
        const char* resource;
        const char* message;
    };
    const Case cases[] = {
        {kAnalyzer, "*CLS"},
        {kAnalyzer, "*RST"},
        {kAnalyzer, "SYST:CONF:SPE 200"},
        {kAnalyzer, "SYST:CONF:DEPT 32768"},
        {kAnalyzer, "SYST:CONF:DEPT 1073741824"},
        {kAnalyzer, "SYST:PASS:INST:UPD 1733629260"},
        {kAnalyzer, "POKEL #H5000048, #H1a2b3"},
        {kAnalyzer, "POKEW #H500004c, #HFFFF"},
        {kPatternGenerator, "SYST:CONF:OPT OPT1M"},
        {kPatternGenerator, "SYST:CONF:OPT STD"},
        {kOther, "*CLS"},
    };
    for (const Case& c : cases) {
        const ViSession vi = Open(c.resource);
        ASSERT_EQ(Send(vi, c.message), VI_SUCCESS) << c.message;
        ExpectNoAnswer(vi, c.message);
        EXPECT_EQ(NextError(vi), kNoError) << c.resource << " " << c.message;
    }
}

TEST_F(ModuleCommands, SettingsTakeEffectOnlyAtReset)
{
    struct Case {
        const char* resource;
        const char* command;
        const char* query;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {kAnalyzer, "SYST:CONF:SPE 200", "SYST:CONF:SPE?", "100", "200"},
        {kAnalyzer, "SYST:CONF:DEPT 1048576", "SYST:CONF:DEPT?", "65536", "1048576"},
        {kPatternGenerator, "SYST:CONF:OPT OPT1M", "SYST:CONF:OPT?", "STD", "OPT1M"},
    };
    for (const Case& c : cases) {
        SetUp();
        const ViSession vi = Open(c.resource);
        ASSERT_EQ(Send(vi, c.command), VI_SUCCESS);
        EXPECT_EQ(Ask(vi, c.query), c.before) << c.command << " must wait for *RST";
        ASSERT_EQ(Send(vi, "*RST"), VI_SUCCESS);
        EXPECT_EQ(Ask(vi, c.query), c.after) << c.command << " after *RST";
        EXPECT_EQ(NextError(vi), kNoError);
    }
}

TEST_F(ModuleCommands, ARefusedValueChangesNothingButAnEarlierAcceptedOneStays)
{
    const ViSession vi = Open(kAnalyzer);
    ASSERT_EQ(Send(vi, "SYST:CONF:SPE 200"), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "SYST:CONF:DEPT 12345"), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "*RST"), VI_SUCCESS);
    EXPECT_EQ(Ask(vi, "SYST:CONF:DEPT?"), "65536");
    EXPECT_EQ(Ask(vi, "SYST:CONF:SPE?"), "200");
}

TEST_F(ModuleCommands, TheLastSettingBeforeResetWins)
{
    const ViSession vi = Open(kAnalyzer);
    ASSERT_EQ(Send(vi, "SYST:CONF:DEPT 131072"), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "SYST:CONF:DEPT 262144"), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "*RST"), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "*RST"), VI_SUCCESS);
    EXPECT_EQ(Ask(vi, "SYST:CONF:DEPT?"), "262144") << "a second reset has nothing left to apply";
}

TEST_F(ModuleCommands, PokedWordsReadBackInTheirWidth)
{
    struct Case {
        const char* poke;
        const char* peek;
        const char* answer;
    };
    const Case cases[] = {
        {"POKEL #H5000048, #H1a2b3", "PEEKL? #H5000048", "#H0001A2B3"},
        {"POKEL #H5000048, #HFFFFFFFF", "PEEKL? #H5000048", "#HFFFFFFFF"},
        {"POKEW #H500004C, #HbeeF", "PEEKW? #H500004c", "#HBEEF"},
        {"POKEW #H6000000, #H12", "PEEKL? #H6000000", "#H00000012"},
        {"POKEL #H6000004, #HABCD1234", "PEEKW? #H6000004", "#H1234"},
    };
    for (const Case& c : cases) {
        const ViSession vi = Open(kAnalyzer);
        ASSERT_EQ(Send(vi, c.poke), VI_SUCCESS);
        EXPECT_EQ(Ask(vi, c.peek), c.answer) << c.poke;
    }
}

TEST_F(ModuleCommands, TheUpdateStampIsKept)
{
    const ViSession vi = Open(kAnalyzer);
    ASSERT_EQ(Send(vi, "SYST:PASS:INST:UPD 1733629260"), VI_SUCCESS);
    EXPECT_EQ(Ask(vi, "SYST:PASS:INST:UPD?"), "1733629260");
}

TEST_F(ModuleCommands, SessionsOnOneResourceTalkToOneModule)
{
    const ViSession rm = OpenRm();
    const ViSession first = Open(rm, kAnalyzer);
    const ViSession second = Open(rm, kAnalyzer);
    ASSERT_EQ(Send(first, "BOGUS"), VI_SUCCESS);
    EXPECT_EQ(NextError(second), "-113,\"Undefined header\"");
}

}  // namespace
}  // namespace stratigon::sim::test
