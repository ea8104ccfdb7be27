// How messages travel between a program and a simulated module: reads in pieces, answers that
// are never sent or fail, canned answers of any length, and the trace of every exchange.
#include "SimulatorTest.h"
#include "simulator/VisaAttributes.h"
#include "simulator/VisaExports.h"
#include "simulator/VisaStatus.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace stratigon::sim::test {
namespace {

const char* const kResource = "VXI0::24::INSTR";
const std::string kIdentity = "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1";

// One analyzer with the given faults and canned answers.
std::string BenchWith(const nlohmann::json& faults, const nlohmann::json& answers = nlohmann::json::object())
{
    nlohmann::json module = {{"resource", kResource}, {"idn", kIdentity}, {"faults", faults}, {"answers", answers}};
    return nlohmann::json{{"modules", {module}}}.dump();
}

class MessageTransfer : public SimulatorTest {
protected:
    void SetUp() override
    {
        UseVolatileBench(BenchWith(nlohmann::json::object()));
        ClearTrace();
    }
};

TEST_F(MessageTransfer, AnAnswerComesInPiecesOfTheRequestedSize)
{
    const std::string whole = kIdentity + "\n";
    for (const ViUInt32 count : {1U, 5U, 37U, 38U, 39U, 256U}) {
        const ViSession vi = Open(kResource);
        ASSERT_EQ(Send(vi, "*IDN?"), VI_SUCCESS);
        std::string received;
        Reply reply{VI_SUCCESS_MAX_CNT, {}};
        while (reply.status == VI_SUCCESS_MAX_CNT && received.size() <= whole.size()) {
            reply = ReadOnce(vi, count);
            received += reply.bytes;
            if (reply.status == VI_SUCCESS_MAX_CNT) {
                EXPECT_EQ(reply.bytes.size(), count) << "a partial read fills the buffer";
            }
        }
        EXPECT_EQ(Hex(reply.status), Hex(VI_SUCCESS)) << "the last piece of a " << count << "-byte read";
        EXPECT_EQ(received, whole) << "reads of " << count;
        EXPECT_EQ(Hex(ReadOnce(vi, count).status), Hex(VI_ERROR_TMO)) << "nothing is left after the line feed";
    }
}

TEST_F(MessageTransfer, ReadingWhenNothingIsPendingTimesOutAtOnce)
{
    const ViSession vi = Open(kResource);
    EXPECT_EQ(Hex(ReadOnce(vi, 256).status), Hex(VI_ERROR_TMO)) << "a fresh session";
    ASSERT_EQ(Send(vi, "*CLS"), VI_SUCCESS);
    EXPECT_EQ(Hex(ReadOnce(vi, 256).status), Hex(VI_ERROR_TMO)) << "after a command";
}

TEST_F(MessageTransfer, ANewMessageDiscardsAnUnreadAnswer)
{
    const ViSession vi = Open(kResource);
    ASSERT_EQ(Send(vi, "*IDN?"), VI_SUCCESS);
    ASSERT_EQ(ReadOnce(vi, 5).status, VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(Ask(vi, "SYST:CONF:WIDT?"), "136");
    ASSERT_EQ(Send(vi, "*IDN?"), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "*CLS"), VI_SUCCESS);
    EXPECT_EQ(Hex(ReadOnce(vi, 256).status), Hex(VI_ERROR_TMO));
}

TEST_F(MessageTransfer, AMessageNeedsNoLineEndAndMayCarryWhiteSpace)
{
    const ViSession vi = Open(kResource);
    for (const char* message : {"*IDN?", "*IDN?\n", "*IDN?\r\n", "  *IDN?\t "}) {
        EXPECT_EQ(Ask(vi, message), kIdentity) << "message \"" << message << "\"";
    }
}

TEST_F(MessageTransfer, ModuleFaultsShowWhereTheProgramNoticesThem)
{
    struct Case {
        const char* name;
        nlohmann::json faults;
        const char* message;
        ViStatus writeStatus;
        ViStatus readStatus;
        const char* error;
    };
    const Case cases[] = {
        {"a refused query", {{"refuse", {"*IDN?"}}}, "*IDN?", VI_SUCCESS, VI_ERROR_TMO, "-221,\"Settings conflict\""},
        {"a refused command", {{"refuse", {"*CLS"}}}, "*CLS", VI_SUCCESS, VI_ERROR_TMO, "-221,\"Settings conflict\""},
        {"a query without answer", {{"no_answer", {"SYST:CONF:WIDT?"}}}, "SYST:CONF:WIDT?", VI_SUCCESS,
         VI_ERROR_TMO, "0,\"No error\""},
        {"a write that fails", {{"write_error", {"*IDN?"}}}, "*IDN?", VI_ERROR_IO, VI_ERROR_TMO, "0,\"No error\""},
        {"a read that fails", {{"read_error", {"*IDN?"}}}, "*IDN?", VI_SUCCESS, VI_ERROR_IO, "0,\"No error\""},
        {"a fault named by its whole text", {{"refuse", {"SYST:CONF:SPE 200"}}}, "SYST:CONF:SPE 200", VI_SUCCESS,
         VI_ERROR_TMO, "-221,\"Settings conflict\""},
        {"a fault for another message", {{"refuse", {"SYST:CONF:SPE 200"}}}, "SYST:CONF:SPE 150", VI_SUCCESS,
         VI_ERROR_TMO, "0,\"No error\""},
    };
    for (const Case& c : cases) {
        UseVolatileBench(BenchWith(c.faults));
        const ViSession vi = Open(kResource);
        EXPECT_EQ(Hex(Send(vi, c.message)), Hex(c.writeStatus)) << c.name;
        EXPECT_EQ(Hex(ReadOnce(vi, 256).status), Hex(c.readStatus)) << c.name;
        EXPECT_EQ(Hex(ReadOnce(vi, 256).status), Hex(VI_ERROR_TMO)) << c.name << ": nothing is left to read";
        EXPECT_EQ(NextError(vi), c.error) << c.name;
    }
}

TEST_F(MessageTransfer, ARefusedOrUndeliveredSettingNeverApplies)
{
    for (const char* fault : {"refuse", "write_error"}) {
        UseVolatileBench(BenchWith({{fault, {"SYST:CONF:DEPT"}}}));
        const ViSession vi = Open(kResource);
        Send(vi, "SYST:CONF:DEPT 1048576");
        ASSERT_EQ(Send(vi, "*RST"), VI_SUCCESS);
        EXPECT_EQ(Ask(vi, "SYST:CONF:DEPT?"), "65536") << fault;
    }
}

TEST_F(MessageTransfer, CannedAnswersArriveExactlyAsWritten)
{
    const std::string cases[] = {
        "", std::string(255, 'A'), std::string(256, 'B'), std::string(10000, 'C'), "\x01\x02\x1b\x7f", "   ",
        "0,\"No error\" but more",
    };
    for (const std::string& answer : cases) {
        UseVolatileBench(BenchWith(nlohmann::json::object(), {{"*IDN?", answer}}));
        const ViSession vi = Open(kResource);
        EXPECT_EQ(Ask(vi, "*IDN?"), answer) << "an answer of " << answer.size() << " characters";
        EXPECT_EQ(Ask(vi, "SYST:CONF:WIDT?"), "136") << "other queries keep their own answers";
    }
}

TEST_F(MessageTransfer, ALongAnswerTakesAsManyReadsAsItNeeds)
{
    UseVolatileBench(BenchWith(nlohmann::json::object(), {{"*IDN?", std::string(10000, 'x')}}));
    const ViSession vi = Open(kResource);
    ASSERT_EQ(Send(vi, "*IDN?"), VI_SUCCESS);
    std::vector<ViStatus> statuses;
    std::size_t received = 0;
    for (Reply reply{VI_SUCCESS_MAX_CNT, {}}; reply.status == VI_SUCCESS_MAX_CNT && statuses.size() < 100;) {
        reply = ReadOnce(vi, 256);
        statuses.push_back(reply.status);
        received += reply.bytes.size();
    }
    EXPECT_EQ(received, 10001U);
    ASSERT_EQ(statuses.size(), 40U) << "10001 bytes in reads of 256";
    EXPECT_EQ(Hex(statuses.back()), Hex(VI_SUCCESS));
}

// END comes with the last byte of an answer, so reaching the termination character there
// still reads as the end of the answer.
TEST_F(MessageTransfer, AnEnabledTerminationCharacterEndsAReadEarly)
{
    struct Case {
        const char* name;
        ViBoolean enabled;
        char termChar;
        ViUInt32 count;
        std::vector<std::pair<std::string, ViStatus>> pieces;
    };
    const Case cases[] = {
        {"not enabled", VI_FALSE, ',', 256, {{"A,B;C\n", VI_SUCCESS}}},
        {"a comma", VI_TRUE, ',', 256, {{"A,", VI_SUCCESS_TERM_CHAR}, {"B;C\n", VI_SUCCESS}}},
        {"the line feed", VI_TRUE, '\n', 256, {{"A,B;C\n", VI_SUCCESS}}},
        {"a character the answer lacks", VI_TRUE, '!', 256, {{"A,B;C\n", VI_SUCCESS}}},
        {"a semicolon, in small reads", VI_TRUE, ';', 2,
         {{"A,", VI_SUCCESS_MAX_CNT}, {"B;", VI_SUCCESS_TERM_CHAR}, {"C\n", VI_SUCCESS}}},
    };
    for (const Case& c : cases) {
        UseVolatileBench(BenchWith(nlohmann::json::object(), {{"*IDN?", "A,B;C"}}));
        const ViSession vi = Open(kResource);
        ASSERT_EQ(viSetAttribute(vi, VI_ATTR_TERMCHAR, static_cast<unsigned char>(c.termChar)), VI_SUCCESS);
        ASSERT_EQ(viSetAttribute(vi, VI_ATTR_TERMCHAR_EN, c.enabled), VI_SUCCESS);
        ASSERT_EQ(Send(vi, "*IDN?"), VI_SUCCESS);
        for (const auto& [bytes, status] : c.pieces) {
            const Reply reply = ReadOnce(vi, c.count);
            EXPECT_EQ(reply.bytes, bytes) << c.name;
            EXPECT_EQ(Hex(reply.status), Hex(status)) << c.name << ", piece " << bytes;
        }
    }
}

// A message is complete at its line end or at the END of the write that carries its last byte.
TEST_F(MessageTransfer, WritesWithoutEndWaitForTheLineEnd)
{
    struct Write {
        ViBoolean end;
        const char* bytes;
    };
    struct Case {
        const char* name;
        std::vector<Write> writes;
        std::optional<std::string> answer;  // nothing: no answer waits
    };
    const Case cases[] = {
        {"a query without END or line end", {{VI_FALSE, "*IDN?"}}, std::nullopt},
        {"a query ending in a line end", {{VI_FALSE, "*IDN?\r\n"}}, kIdentity},
        {"a query in two writes", {{VI_FALSE, "*ID"}, {VI_TRUE, "N?"}}, kIdentity},
        {"two messages in one write", {{VI_TRUE, "BOGUS\nSYST:ERR?"}}, "-113,\"Undefined header\""},
        {"a command, then a query in two writes", {{VI_FALSE, "*CLS\n*ID"}, {VI_TRUE, "N?"}}, kIdentity},
    };
    for (const Case& c : cases) {
        UseVolatileBench(BenchWith(nlohmann::json::object()));
        const ViSession vi = Open(kResource);
        for (const Write& write : c.writes) {
            ASSERT_EQ(viSetAttribute(vi, VI_ATTR_SEND_END_EN, write.end), VI_SUCCESS);
            ASSERT_EQ(Send(vi, write.bytes), VI_SUCCESS) << c.name;
        }
        const Reply reply = ReadOnce(vi, 256);
        EXPECT_EQ(reply.bytes, c.answer ? *c.answer + "\n" : "") << c.name;
        EXPECT_EQ(Hex(reply.status), Hex(c.answer ? VI_SUCCESS : VI_ERROR_TMO)) << c.name;
    }
}

TEST_F(MessageTransfer, ADeviceClearDropsTheUnreadAnswerAndHalfAMessageButNotTheErrors)
{
    const ViSession vi = Open(kResource);
    ASSERT_EQ(Send(vi, "BOGUS"), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "*IDN?"), VI_SUCCESS);
    ASSERT_EQ(viSetAttribute(vi, VI_ATTR_SEND_END_EN, VI_FALSE), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "*CL"), VI_SUCCESS);
    EXPECT_EQ(Hex(viClear(vi)), Hex(VI_SUCCESS));
    EXPECT_EQ(Hex(ReadOnce(vi, 256).status), Hex(VI_ERROR_TMO)) << "the answer is gone";
    EXPECT_EQ(Ask(vi, "SYST:ERR?\n"), "-113,\"Undefined header\"") << "no \"*CLSYST:ERR?\", and the error stays";
    EXPECT_EQ(Hex(viClear(OpenRm())), Hex(VI_ERROR_INV_OBJECT)) << "a resource manager has no device";
}

TEST_F(MessageTransfer, AFlushTakesEveryValidMaskAndLosesNothing)
{
    const ViSession vi = Open(kResource);
    ASSERT_EQ(Send(vi, "*IDN?"), VI_SUCCESS);
    const struct {
        ViUInt16 mask;
        ViStatus status;
    } cases[] = {
        {VI_READ_BUF | VI_WRITE_BUF | VI_IO_IN_BUF | VI_IO_OUT_BUF, VI_SUCCESS},
        {VI_READ_BUF_DISCARD | VI_WRITE_BUF_DISCARD | VI_IO_IN_BUF_DISCARD | VI_IO_OUT_BUF_DISCARD, VI_SUCCESS},
        {0, VI_ERROR_INV_MASK},
        {VI_READ_BUF | VI_READ_BUF_DISCARD, VI_ERROR_INV_MASK},
        {VI_IO_OUT_BUF | VI_IO_OUT_BUF_DISCARD, VI_ERROR_INV_MASK},
        {0x100, VI_ERROR_INV_MASK},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hex(viFlush(vi, c.mask)), Hex(c.status)) << "mask " << c.mask;
    }
    EXPECT_EQ(ReadOnce(vi, 256).bytes.substr(0, 10), "QUORVALIS,") << "the answer waits to be read";
    EXPECT_EQ(Hex(viFlush(OpenRm(), VI_READ_BUF)), Hex(VI_ERROR_INV_OBJECT));
}

TEST_F(MessageTransfer, TheTraceShowsEveryWriteAndRead)
{
    UseVolatileBench(BenchWith({{"write_error", {"*RST"}}}));
    ClearTrace();
    const ViSession vi = Open(kResource);
    Ask(vi, "*IDN?");
    ReadOnce(vi, 256);
    Send(vi, "*RST");
    Send(vi, "SYST:CONF:WIDT?");
    ReadOnce(vi, 2);
    ReadOnce(vi, 2);
    const std::vector<std::string> expected = {
        "W VXI0::24::INSTR *IDN?",
        "R VXI0::24::INSTR QUORVALIS,KVX7L1A,B012345,FVER:4.2.1\\n",
        "R VXI0::24::INSTR !bfff0015",
        "W VXI0::24::INSTR *RST !bfff003e",
        "W VXI0::24::INSTR SYST:CONF:WIDT?",
        "R VXI0::24::INSTR 13",
        "R VXI0::24::INSTR 6\\n",
    };
    EXPECT_EQ(TraceLines(), expected);
}

TEST_F(MessageTransfer, TheTraceEscapesWhatIsNotPlainText)
{
    struct Case {
        std::string message;
        const char* line;
    };
    const Case cases[] = {
        {"*CLS\n", "W VXI0::24::INSTR *CLS\\n"},
        {"A\tB", "W VXI0::24::INSTR A\\x09B"},
        {"a\\b", "W VXI0::24::INSTR a\\x5Cb"},
        {"\n\n", "W VXI0::24::INSTR \\x0A\\n"},
        {std::string("x\0y", 3), "W VXI0::24::INSTR x\\x00y"},
        {"\xC3\xA9", "W VXI0::24::INSTR \\xC3\\xA9"},
    };
    const ViSession vi = Open(kResource);
    for (const Case& c : cases) {
        ClearTrace();
        Send(vi, c.message);
        EXPECT_EQ(TraceLines(), std::vector<std::string>{c.line});
    }
}

TEST_F(MessageTransfer, ATraceFileGrowsAcrossLoads)
{
    const std::string trace = folder_.File("trace.log");
    for (int load = 0; load < 2; ++load) {
        Configure({.benchText = BenchWith(nlohmann::json::object()), .tracePath = trace});
        Send(Open(kResource), "*CLS");
    }
    EXPECT_EQ(folder_.Read("trace.log"), "W VXI0::24::INSTR *CLS\nW VXI0::24::INSTR *CLS\n");
}

}  // namespace
}  // namespace stratigon::sim::test
