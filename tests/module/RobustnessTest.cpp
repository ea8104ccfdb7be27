#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

#include "instrument/SharedBuffers.h"
#include "module/ModuleCodes.h"
#include "tests/module/ModuleTestSupport.h"

namespace stratigon::test {
namespace {

// Answers of every awkward shape: empty, at and beyond the buffer size, binary bytes with
// NUL and 0xFF, and product names that run on and on.
class AnswerMaker {
public:
    explicit AnswerMaker(unsigned seed) : m_random(seed) {}

    std::string Next()
    {
        static const std::size_t kLengths[] = {0, 1, 2, 254, 255, 256, 257, 10000};
        const std::size_t length = kLengths[Pick(std::size(kLengths))];
        switch (Pick(5)) {
        case 0: return Binary(length);
        case 1: return "QUORVALIS,KVX5L" + std::string(length, 'A') + ",B000000,FVER:" + std::string(length, '1');
        case 2: return "QUORVALIS,KVX7PG2,C100200,FW:" + Binary(length);
        case 3: return "#H" + std::string(length, 'f');
        default: return AnalyzerAnswers()[Pick(6)];
        }
    }

private:
    std::size_t Pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random); }
    std::string Binary(std::size_t length)
    {
        std::string bytes(length, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(Pick(256));
        if (length > 1)
            bytes[length / 2] = '\0', bytes[length - 1] = '\xFF';
        return bytes;
    }

    std::mt19937 m_random;
};

using RobustnessTest = ModuleTest;

TEST_F(RobustnessTest, AnswersOfAnyShapeStayInsideTheBuffers)
{
    const std::set<int> codes = {112, 108, 114, 117, 119, 120};
    AnswerMaker maker(20240601);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> answers;
        for (int i = 0; i < 12; ++i)
            answers.push_back(maker.Next());
        const int code = ReadWith(answers);
        EXPECT_TRUE(codes.contains(code)) << "round " << round << " gave " << code;
        for (const std::string& text : {module.GetProductName(), module.GetSerialNumber(), module.GetChannels(),
                                        module.GetStateSpeed(), module.GetFirmwareVersion()})
            EXPECT_LT(text.size(), kBufferSize) << "round " << round;
    }
}

TEST_F(RobustnessTest, ReadNeverWritesPastTheCountItIsGiven)
{
    for (const std::size_t length : {0u, 255u, 256u, 10000u}) {
        visa.answers = {std::string(length, '\xFF')};
        char buffer[kBufferSize + 8];
        std::memset(buffer, 'G', sizeof buffer);
        ASSERT_TRUE(module.Read(kSession, buffer, ReportFailures, kBufferSize)) << length;
        EXPECT_EQ(std::strlen(buffer), std::min<std::size_t>(length, kBufferSize - 1)) << length;
        EXPECT_EQ(buffer[kBufferSize], 'G') << "guard byte after " << length;
    }
}

TEST_F(RobustnessTest, OverlongFieldsAreCutToTheScratchBuffer)
{
    const std::string name = "KVX7L1A" + std::string(10000, 'x');
    EXPECT_EQ(module.ParseIdentity(("QUORVALIS," + name + ",B012345,FVER:4.2.1").c_str()), ModuleCode::Success);
    EXPECT_EQ(module.GetProductName(), name.substr(0, kBufferSize - 1));

    ASSERT_EQ(ReadWith(AnalyzerAnswers()), ModuleCode::Success);
    visa.answers.assign(4, kClear);
    visa.writes.clear();
    EXPECT_EQ(module.ChangeConfiguration(kSession, std::string(10000, 'M'), std::string(10000, '9')), 105);
    ASSERT_GE(visa.writes.size(), 3u);
    EXPECT_EQ(visa.writes[2].size(), kBufferSize - 1) << "the speed command is cut to the command buffer";
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].size(), kBufferSize - 1);
}

}  // namespace
}  // namespace stratigon::test
