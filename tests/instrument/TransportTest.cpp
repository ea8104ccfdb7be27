#include <gtest/gtest.h>

#include <cstring>

#include "instrument/CVxiBus.h"
#include "instrument/SharedBuffers.h"
#include "support/FakeVisa.h"
#include "support/Recorders.h"

namespace stratigon::test {
namespace {

constexpr ViSession kSession = FakeVisa::kFirstSession;

class TransportTest : public ::testing::Test {
protected:
    std::string WriteErrorText(const std::string& command) const
    {
        return "VXI Write Error for command " + command + ": " + FakeVisa::kDescription;
    }
    std::string ReadErrorText() const { return std::string("VXI Read Error: ") + FakeVisa::kDescription; }

    FakeVisa visa;
    RecordingSink sink;
    RecordingSleeper sleeper;
    CVxiBus bus{visa.Functions(), sink, sleeper};
};

TEST_F(TransportTest, ACommandIsSentByteForByteWithoutALineEnd)
{
    EXPECT_TRUE(bus.Write(kSession, "SYST:CONF:DEPT 1048576", ReportFailures));
    EXPECT_EQ(visa.writes, std::vector<std::string>{"SYST:CONF:DEPT 1048576"});
}

TEST_F(TransportTest, AFailedWriteIsShownOnlyWhenAskedFor)
{
    visa.writeStatus = VI_ERROR_TMO;
    EXPECT_FALSE(bus.Write(kSession, "PEEKL? #H5000048", Silent));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(bus.Write(kSession, "*CLS", ReportFailures));
    EXPECT_EQ(sink.messages, std::vector<std::string>{WriteErrorText("*CLS")});
}

TEST_F(TransportTest, AFailedReadIsShownOnlyWhenAskedFor)
{
    visa.readStatus = VI_ERROR_TMO;
    char buffer[kBufferSize];
    EXPECT_FALSE(bus.Read(kSession, buffer, Silent, kBufferSize));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(bus.Read(kSession, buffer, ReportFailures, kBufferSize));
    EXPECT_EQ(sink.messages, std::vector<std::string>{ReadErrorText()});
}

TEST_F(TransportTest, AnswersLoseTrailingWhiteSpaceOnly)
{
    struct Case {
        std::string raw;
        const char* stored;
    };
    const Case cases[] = {
        {"65536\n", "65536"},
        {"100\r\n", "100"},
        {"KVX7L1A \t\v\f\r\n", "KVX7L1A"},
        {"  leading kept", "  leading kept"},
        {"inner  blanks kept \n", "inner  blanks kept"},
        {" \t\r\n", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        visa.answers = {c.raw};
        char buffer[kBufferSize];
        std::memset(buffer, 'x', sizeof buffer);
        ASSERT_TRUE(bus.Read(kSession, buffer, ReportFailures, kBufferSize));
        EXPECT_STREQ(buffer, c.stored) << "raw answer '" << c.raw << "'";
    }
}

TEST_F(TransportTest, ReadsLeaveRoomForTheTerminatingNul)
{
    visa.answers = {std::string(400, 'A')};
    char buffer[kBufferSize];
    ASSERT_TRUE(bus.Read(kSession, buffer, ReportFailures, kBufferSize));
    EXPECT_EQ(visa.readCounts, std::vector<ViUInt32>{255});
    EXPECT_EQ(std::strlen(buffer), 255u);
}

TEST_F(TransportTest, AReturnCountBeyondTheRequestNeverWritesPastTheBuffer)
{
    visa.answers = {"0,\"No error\""};
    visa.claimedReadCount = 100000;
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_TRUE(bus.Read(kSession, buffer, ReportFailures, sizeof buffer));
    EXPECT_EQ(visa.readCounts, std::vector<ViUInt32>{15});
    EXPECT_EQ(std::strlen(buffer), 15u);
}

TEST_F(TransportTest, QueryWritesThenReadsIntoTheResponse)
{
    visa.answers = {"QUORVALIS,KVX7L1A,B012345,FVER:4.2.1\n"};
    EXPECT_EQ(bus.Query(kSession, "*IDN?", ResponseBuffer, ReportFailures), 1);
    EXPECT_STREQ(ResponseBuffer, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1");
    EXPECT_EQ(visa.writes, std::vector<std::string>{"*IDN?"});
}

TEST_F(TransportTest, QueryWithAFailedWriteDoesNotRead)
{
    visa.writeStatus = VI_ERROR_IO;
    EXPECT_EQ(bus.Query(kSession, "*IDN?", ResponseBuffer, Silent), 0);
    EXPECT_TRUE(visa.readCounts.empty());
}

TEST_F(TransportTest, QueryWithoutAnAnswerFails)
{
    EXPECT_EQ(bus.Query(kSession, "SYST:CONF:WIDT?", ResponseBuffer, ReportFailures), 0);
    EXPECT_EQ(sink.messages, std::vector<std::string>{ReadErrorText()});
}

TEST_F(TransportTest, ErrorQueueIsClearOnlyWhenTheAnswerBeginsWithTheDigitZero)
{
    struct Case {
        const char* answer;
        int expected;
    };
    const Case cases[] = {
        {"0,\"No error\"\n", 0},
        {"0", 0},
        {"0 whatever follows", 0},
        {"-113,\"Undefined header\"\n", 1},
        {"-222,\"Data out of range\"", 1},
        {"+0,\"No error\"", 1},
        {" 0", 1},
        {"", 1},
        {"\n", 1},
    };
    for (const Case& c : cases) {
        visa.writes.clear();
        visa.answers = {c.answer};
        EXPECT_EQ(bus.CheckErrorQueue(kSession), c.expected) << "answer '" << c.answer << "'";
        EXPECT_EQ(visa.writes, std::vector<std::string>{"SYST:ERR?"});
    }
}

TEST_F(TransportTest, SendCommandChecksTheErrorQueueAfterTheCommand)
{
    visa.answers = {"0,\"No error\"\n", "-221,\"Settings conflict\"\n"};
    EXPECT_EQ(bus.SendCommand(kSession, "*CLS", ReportFailures), 1);
    EXPECT_EQ(bus.SendCommand(kSession, "*RST", ReportFailures), 0);
    EXPECT_EQ(visa.writes, (std::vector<std::string>{"*CLS", "SYST:ERR?", "*RST", "SYST:ERR?"}));
    EXPECT_TRUE(sink.messages.empty()) << "a refused command is the caller's to report";
}

TEST_F(TransportTest, AFailedCommandWriteDoesNotQueryTheErrorQueue)
{
    visa.writeStatus = VI_ERROR_IO;
    EXPECT_EQ(bus.SendCommand(kSession, "POKEL #H5000048, #H1", Silent), 0);
    EXPECT_EQ(visa.writes, std::vector<std::string>{"POKEL #H5000048, #H1"});
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(TransportTest, ErrorQueueFailuresAreShownEvenAfterASilentCommand)
{
    EXPECT_EQ(bus.SendCommand(kSession, "POKEW #H500004c, #H11a", Silent), 0);
    EXPECT_EQ(sink.messages, std::vector<std::string>{ReadErrorText()});
}

}  // namespace
}  // namespace stratigon::test
