#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "module/DeviceRandomSource.h"
#include "module/ModuleCodes.h"
#include "module/SystemClock.h"
#include "tests/module/ModuleTestSupport.h"

namespace stratigon::test {
namespace {

using ReadoutTest = ModuleTest;

const std::string kFamily1WithoutSerial = "QUORVALIS,KVX5L1,B000000,FVER:3.1\n";

TEST(FormatScaled, WholeThousandsBecomeAUnitLetterAndTheRestEndsInABlank)
{
    const std::pair<std::int64_t, const char*> cases[] = {
        {8000000000, "8 G"}, {125000000, "125 M"}, {333333333, "333333333 "}, {800, "800 "},
        {1000, "1 K"},       {1000000000000, "1 T"}, {1500, "1500 "},         {0, "0 "},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(CModule::FormatScaled(value), text) << value;
}

TEST_F(ReadoutTest, AnAnalyzerReadoutAsksFiveQuestionsAfterTheIdentity)
{
    ASSERT_EQ(ReadWith(AnalyzerAnswers()), ModuleCode::Success);
    EXPECT_EQ(visa.writes, (std::vector<std::string>{"*IDN?", "SYST:CONF:WIDT?", "SYST:CONF:DEPT?", "SYST:CONF:SPE?",
                                                     "SYST:CONF:TICL:HRES?", "SOUR:CLOC:PER?"}));
    const Record expected = {"KVX7L1A", "B012345", "13:18:C1:00:30:39", "136", "100 MHz", "8 GHz / 400 MHz", "64K",
                             "4.2.1"};
    EXPECT_EQ(RecordOf(module), expected);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ReadoutTest, TimingSpeedJoinsTheHighResolutionAndAsynchronousRates)
{
    struct Case {
        const char* highResolution;
        const char* asynchronous;
        int code;
        const char* timing;
    };
    const Case cases[] = {
        {"125", "2.5E-9", 112, "8 GHz / 400 MHz"},
        {"3000", "2.5E-9", 112, "333333333 Hz / 400 MHz"},
        {"1000 ps", "1.0E-8 s", 112, "1 GHz / 100 MHz"},
        {"0", "2.5E-9", 114, ""},
        {"", "2.5E-9", 114, ""},
        {"125", "0", 114, "8 GHz / "},
        {"125", "9E-13", 114, "8 GHz / "},
        {"125", "nan", 114, "8 GHz / "},
        {"125", "1E300", 114, "8 GHz / "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadWith({kAnalyzerIdn, "136", "65536", "100", c.highResolution, c.asynchronous}), c.code)
            << c.highResolution << " / " << c.asynchronous;
        EXPECT_EQ(module.GetTimingSpeed(), c.timing) << c.highResolution << " / " << c.asynchronous;
    }
}

TEST_F(ReadoutTest, DepthAnswersAreMatchedByTheirLeadingCount)
{
    struct Case {
        bool generator;
        const char* answer;
        int code;
        const char* depth;
        const char* stateSpeed;
    };
    const Case cases[] = {
        {false, "65536", 112, "64K", "200 MHz"},
        {false, "1073741824", 112, "1G", "200 MHz"},
        {false, "1048576 samples", 112, "1M", "200 MHz"},
        {false, "6553", 114, "", ""},
        {true, "OPT1M", 112, "1M", "134 MHz"},
        {true, "STD", 112, "256K", "134 MHz"},
        {true, "OPT2M", 119, "", ""},
    };
    for (const Case& c : cases) {
        const auto answers = c.generator ? std::vector<std::string>{kPatternGeneratorIdn, c.answer}
                                         : std::vector<std::string>{kAnalyzerIdn, "136", c.answer, "200", "125", "2.5E-9"};
        EXPECT_EQ(ReadWith(answers), c.code) << c.answer;
        EXPECT_EQ(module.GetMemoryDepth(), c.depth) << c.answer;
        EXPECT_EQ(module.GetStateSpeed(), c.stateSpeed) << c.answer;
    }
}

TEST(DepthTables, EveryNameStandsForItsSampleCount)
{
    int rows = 0;
    for (const DepthRow* row = AnalyzerDepthTable; row->name[0] != '\0'; ++row, ++rows) {
        char* unit = nullptr;
        const long long number = std::strtoll(row->name, &unit, 10);
        const int shift = *unit == 'K' ? 10 : *unit == 'M' ? 20 : *unit == 'G' ? 30 : -1;
        ASSERT_GE(shift, 0) << row->name;
        EXPECT_EQ(std::strtoll(row->longForm, nullptr, 10), number << shift) << row->name;
    }
    EXPECT_EQ(rows, 16);
    EXPECT_STREQ(AnalyzerDepthTable[0].name, "32K");
    EXPECT_STREQ(AnalyzerDepthTable[15].name, "1G");
    EXPECT_STREQ(PatternGeneratorDepthTable[0].longForm, "STD");
    EXPECT_STREQ(PatternGeneratorDepthTable[1].longForm, "OPT1M");
    EXPECT_STREQ(PatternGeneratorDepthTable[2].name, "");
}

TEST(HexAnswers, ParseUpToTheFirstCharacterThatIsNoHexDigit)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"12345678", 0x12345678}, {"1a2B", 0x1A2B}, {"ff 12", 0xFF}, {"12G4", 0x12},
        {"", 0},                  {" 12", 0},       {"123456789", 0x23456789},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(CModule::ParseHexResponse(text), value) << text;
}

TEST(UniqueNumberChecksum, IsTheByteSumPlusSixIn16Bits)
{
    const std::pair<std::uint32_t, std::uint16_t> cases[] = {
        {0x12345678, 0x011A}, {0, 6}, {0xFFFFFFFF, 0x0402}, {0x000ACF46, 0x0125},
    };
    for (const auto& [number, checksum] : cases)
        EXPECT_EQ(CModule::NumberChecksum(number), checksum) << std::hex << number;
}

TEST_F(ReadoutTest, UniqueIdPacksTypeModelCharactersPrefixAndUnit)
{
    ASSERT_EQ(module.ParseIdentity("QUORVALIS,KVX7L,B123456,FVER:1"), ModuleCode::Success);
    module.EncodeModelCharacters("KVX7AB");
    module.FormatUniqueId();
    EXPECT_EQ(module.GetUniqueId(), "10:61:20:01:E2:40");

    ASSERT_EQ(ReadWith(AnalyzerAnswers("QUORVALIS,KVX9XL64A,S999999,FVER:5.0")), ModuleCode::Success);
    EXPECT_EQ(module.GetUniqueId(), "56:26:36:7F:42:3F");
}

TEST_F(ReadoutTest, AStoredNumberWithAMatchingChecksumIsKeptAndOnlyItsLow20BitsEnterTheId)
{
    ASSERT_EQ(ReadWith(Joined(AnalyzerAnswers(kFamily1WithoutSerial), {"#H12345678", "#H011A"})), ModuleCode::Success);
    EXPECT_EQ(module.GetUnitNumber(), 0x12345678u);
    EXPECT_EQ(module.GetSerialNumber(), "Unknown");
    EXPECT_EQ(module.GetUniqueId(), "33:18:A0:F4:56:78");
    EXPECT_EQ(std::vector<std::string>(visa.writes.end() - 2, visa.writes.end()),
              (std::vector<std::string>{"PEEKL? #H5000048", "PEEKW? #H500004c"}));
    EXPECT_EQ(random.draws, 0);
}

TEST_F(ReadoutTest, AStoredNumberWithAWrongChecksumIsReplacedInBothWords)
{
    random.values = {0x1234, 0x5678};
    const auto answers = Joined(AnalyzerAnswers(kFamily1WithoutSerial), {"#H00000000", "#H0000", kClear, kClear});
    ASSERT_EQ(ReadWith(answers), ModuleCode::Success);
    EXPECT_EQ(std::vector<std::string>(visa.writes.begin() + 6, visa.writes.end()),
              (std::vector<std::string>{"PEEKL? #H5000048", "PEEKW? #H500004c", "POKEL #H5000048, #Hacf46",
                                        "SYST:ERR?", "POKEW #H500004c, #H125", "SYST:ERR?"}));
    EXPECT_EQ(module.GetUnitNumber(), 0xACF46u);
    EXPECT_EQ(module.GetUniqueId(), "33:18:A0:FA:CF:46");
}

TEST_F(ReadoutTest, UniqueNumberFailuresAreSilentQueryFailures)
{
    const std::vector<std::string> suffixes[] = {
        {}, {"#H0"}, {"#H0", "#H0", kRefused}, {"#H0", "#H0", kClear, kRefused},
    };
    for (const auto& suffix : suffixes) {
        EXPECT_EQ(ReadWith(Joined(AnalyzerAnswers(kFamily1WithoutSerial), suffix)), 114) << suffix.size();
        EXPECT_EQ(module.GetUniqueId(), "");
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ReadoutTest, NewNumbersComeFromTheInjectedSourceInTheirBitLayout)
{
    struct Case {
        int a, b;
        std::uint32_t number;
    };
    const Case cases[] = {{0, 0, 0}, {32767, 32767, 0xFFFFF}, {7, 7, 0}, {0x1234, 0x5678, 0xACF46}, {8, 8, 0x101}};
    for (const Case& c : cases) {
        random.values = {c.a, c.b};
        EXPECT_EQ(module.MakeRandomNumber(), c.number) << c.a << ", " << c.b;
    }
    EXPECT_EQ(random.draws, 10) << "two draws per number, none discarded";
}

TEST(DeviceRandomSource, FreshSourcesDoNotRepeatEachOther)
{
    const auto drawEight = [] {
        DeviceRandomSource source;
        std::vector<int> values;
        for (int i = 0; i < 8; ++i)
            values.push_back(source.Draw());
        return values;
    };
    const std::vector<int> first = drawEight();
    const std::vector<int> second = drawEight();
    EXPECT_NE(first, second) << "a deterministic source would number two modules alike";
    for (const int value : first) {
        EXPECT_GE(value, 0);
        EXPECT_LE(value, IRandomSource::kMaxValue);
    }
}

TEST(SystemClock, CountsSecondsSince1970)
{
    SystemClock clock;
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    EXPECT_LE(std::llabs(clock.SecondsSince1970() - now), 2);
}

}  // namespace
}  // namespace stratigon::test
