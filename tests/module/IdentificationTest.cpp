#include <gtest/gtest.h>

#include "module/ModuleCodes.h"
#include "module/ProductPrefixes.h"
#include "tests/module/ModuleTestSupport.h"

namespace stratigon::test {
namespace {

// Which predicates hold, so one expected text names the type and rules out the others.
std::string PredicatesOf(const CModule& m)
{
    std::string held;
    held += m.IsAnalyzerFamily0() ? "0" : "";
    held += m.IsAnalyzerFamily1() ? "1" : "";
    held += m.IsAnalyzerFamily2() ? "2" : "";
    held += m.IsPatternGenerator() ? "PG" : "";
    return held;
}

using IdentificationTest = ModuleTest;

TEST_F(IdentificationTest, TheFirstPrefixFoundDecidesTypeAndWhereTheNameBegins)
{
    struct Case {
        const char* answer;
        int code;
        ProductType type;
        const char* predicates;
        const char* productName;
    };
    const Case cases[] = {
        {"QUORVALIS,KVX7PG2,C100200,FW:2.0.5", 112, ProductType::PatternGenerator, "PG", "KVX7PG2"},
        {"QUORVALIS,KVX7P1,B012345,FVER:1.0", 112, ProductType::AnalyzerFamily0, "0", "KVX7P1"},
        {"QUORVALIS,KVX7R2B,B012345,FVER:1.0", 112, ProductType::AnalyzerFamily0, "0", "KVX7R2B"},
        {"QUORVALIS,KVX5N3,B012345,FVER:1.0", 112, ProductType::AnalyzerFamily1, "1", "KVX5N3"},
        {"QUORVALIS,KVX9XL64C,B012345,FVER:1.0", 112, ProductType::AnalyzerFamily2, "2", "KVX9XL64C"},
        {"QUORKVX5LVALIS,B012345,FVER:1.0", 112, ProductType::AnalyzerFamily1, "1", "KVX5LVALIS"},
        {"QUORVALIS,KVX7R3A,B012345,FVER:1.0", 108, ProductType::UnknownProduct, "", ""},
        {"quorvalis,kvx7l1a,B012345,FVER:1.0", 108, ProductType::UnknownProduct, "", ""},
        {"", 108, ProductType::UnknownProduct, "", ""},
    };
    for (const Case& c : cases) {
        module.ClearModuleTexts();
        EXPECT_EQ(module.ParseIdentity(c.answer), c.code) << c.answer;
        EXPECT_EQ(module.GetProductType(), c.type) << c.answer;
        EXPECT_EQ(PredicatesOf(module), c.predicates) << c.answer;
        EXPECT_EQ(module.GetProductName(), c.productName) << c.answer;
    }
}

TEST(ProductPrefixes, ThePatternGeneratorIsTriedBeforeTheAnalyzerPrefixItContains)
{
    ASSERT_EQ(ProductPrefixLists[0].type, ProductType::PatternGenerator);
    const std::string generator = ProductPrefixLists[0].prefixes[0];
    bool shadowed = false;
    for (const char* const* prefix = AnalyzerFamily0Prefixes; **prefix != '\0'; ++prefix)
        shadowed = shadowed || generator.starts_with(*prefix);
    EXPECT_TRUE(shadowed) << "the ordering exists because " << generator << " begins with a type-0 prefix";
}

TEST_F(IdentificationTest, SerialNumbersAreALetterOfTheTableAndSixDigits)
{
    struct Case {
        const char* serial;
        int code;
        const char* stored;
        std::uint32_t prefixCode;
        std::uint32_t unit;
    };
    const Case cases[] = {
        {"B012345", 112, "B012345", 0, 12345},
        {"S999999", 112, "S999999", 7, 999999},
        {"C100200", 112, "C100200", 3, 100200},
        {"J000000", 112, "J000000", 1, 0},
        {"B0123456", 112, "B123456", 0, 123456},
        {"B1234567", 117, "B1234567", 0, 0},
        {"B12345", 117, "B12345", 0, 0},
        {"b012345", 117, "b012345", 0, 0},
        {"A012345", 117, "A012345", 0, 0},
        {"B01A345", 117, "B01A345", 0, 0},
        {"B", 117, "B", 0, 0},
        {"B 12345", 117, "B 12345", 0, 0},
    };
    for (const Case& c : cases) {
        module.ClearModuleTexts();
        const std::string answer = std::string("QUORVALIS,KVX7L1A,") + c.serial + ",FVER:4.2.1";
        EXPECT_EQ(module.ParseIdentity(answer.c_str()), c.code) << c.serial;
        EXPECT_EQ(module.GetSerialNumber(), c.stored) << c.serial;
        if (c.code == 112) {
            EXPECT_EQ(module.GetPrefixCode(), c.prefixCode) << c.serial;
            EXPECT_EQ(module.GetUnitNumber(), c.unit) << c.serial;
        }
    }
}

TEST_F(IdentificationTest, ANameRunningToTheEndOfTheAnswerHasNoSerialNumber)
{
    EXPECT_EQ(module.ParseIdentity("QUORVALIS,KVX7L1A"), 117);
    EXPECT_EQ(module.GetProductName(), "KVX7L1A");
    EXPECT_EQ(module.GetSerialNumber(), "");
}

TEST_F(IdentificationTest, ModelCharactersAreTheFifthToSeventhWithBlanksPastTheEnd)
{
    struct Case {
        const char* name;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"KVX7L1A", 0x1318C1}, {"KVX9XL64A", 0x162636}, {"KVX7AB", 0x106120},
        {"KVX7", 0x081020},    {"KVX7\xC1" "BC", 0x106143}, {"KVX7A,C", 0x105043},
    };
    for (const Case& c : cases) {
        module.EncodeModelCharacters(c.name);
        EXPECT_EQ(module.GetModelCharacters(), c.expected) << c.name;
    }
}

TEST_F(IdentificationTest, FirmwareVersionFollowsTheTagOfTheProductType)
{
    struct Case {
        const char* answer;
        int code;
        const char* firmware;
    };
    const Case cases[] = {
        {"QUORVALIS,KVX7L1A,B012345,FVER:4.2.1", 112, "4.2.1"},
        {"QUORVALIS,KVX7L1A,B012345,FVER:4.2.1 build 7", 112, "4.2.1"},
        {"QUORVALIS,KVX7PG2,C100200,FW:2.0.5", 112, "2.0.5"},
        {"QUORVALIS,KVX7PG2,C100200,FVER:2.0.5", 120, ""},
        {"QUORVALIS,KVX7L1A,B012345,FW:4.2.1", 120, ""},
        {"QUORVALIS,KVX7L1A,B012345,FVER:", 112, ""},
    };
    for (const Case& c : cases) {
        module.ClearModuleTexts();
        EXPECT_EQ(module.ParseIdentity(c.answer), c.code) << c.answer;
        EXPECT_EQ(module.GetFirmwareVersion(), c.firmware) << c.answer;
        EXPECT_FALSE(module.GetSerialNumber().empty()) << "the serial number stays set: " << c.answer;
    }
}

TEST_F(IdentificationTest, EachFailureKeepsWhatWasReadBeforeIt)
{
    const Record read = {"KVX7L1A", "B012345", "", "136", "100 MHz", "8 GHz / ", "64K", "4.2.1"};
    const auto upTo = [&](std::size_t answers) {
        const std::vector<std::string> all = AnalyzerAnswers();
        return std::vector<std::string>(all.begin(), all.begin() + static_cast<long>(answers));
    };
    const auto with = [&](std::size_t index, const std::string& answer) {
        std::vector<std::string> all = AnalyzerAnswers();
        all[index] = answer;
        return all;
    };
    struct Case {
        const char* name;
        std::vector<std::string> answers;
        int code;
        Record record;
    };
    const Case cases[] = {
        {"no identity answer", {}, 114, {}},
        {"unknown product", with(0, "QUORVALIS,KVX8L1A,B012345,FVER:4.2.1"), 108, {}},
        {"bad serial", with(0, "QUORVALIS,KVX7L1A,X012345,FVER:4.2.1"), 117, {"KVX7L1A", "X012345", "", "", "", "", "", ""}},
        {"no firmware tag", with(0, "QUORVALIS,KVX7L1A,B012345,4.2.1"), 120, {"KVX7L1A", "B012345", "", "", "", "", "", ""}},
        {"no width", upTo(1), 114, {"KVX7L1A", "B012345", "", "", "", "", "", "4.2.1"}},
        {"unknown depth", with(2, "1000"), 114, {"KVX7L1A", "B012345", "", "136", "", "", "", "4.2.1"}},
        {"no speed", upTo(3), 114, {"KVX7L1A", "B012345", "", "136", "", "", "64K", "4.2.1"}},
        {"no clock digits", with(4, "fast"), 114, {"KVX7L1A", "B012345", "", "136", "100 MHz", "", "64K", "4.2.1"}},
        {"zero async period", with(5, "0"), 114, read},
        {"no async period", upTo(5), 114, read},
        {"unknown option", {kPatternGeneratorIdn, "OPT2M"}, 119, {"KVX7PG2", "C100200", "", "", "", "", "", "2.0.5"}},
        {"no option", {kPatternGeneratorIdn}, 114, {"KVX7PG2", "C100200", "", "", "", "", "", "2.0.5"}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(ReadWith(AnalyzerAnswers()), ModuleCode::Success);
        EXPECT_EQ(ReadWith(c.answers), c.code) << c.name;
        EXPECT_EQ(RecordOf(module), c.record) << c.name;
    }
}

TEST(ModuleRead, AnEmptyDeviceTableReturnsNoModuleWithoutAnyExchange)
{
    FakeVisa visa;
    RecordingSink sink;
    RecordingSleeper sleeper;
    FixedClock clock;
    ScriptedRandom random;
    CModule module(visa.Functions(), sink, sleeper, clock, random);
    visa.answers = {kAnalyzerIdn};
    EXPECT_EQ(module.ReadModule(FakeVisa::kFirstSession), 109);
    EXPECT_TRUE(visa.writes.empty());
    EXPECT_EQ(RecordOf(module), Record{});
}

TEST(ModuleCodes, EachCodeHasTheTextTheUserSees)
{
    const std::pair<int, const char*> cases[] = {
        {112, ""},
        {104, "Update complete successfully. "},
        {105, "Error: Update Failed."},
        {108, "This module cannot be Stratigoned."},
        {109, "No module to Stratigon."},
        {114, "Error: Failure when querying module."},
        {117, "Error: Invalid Serial Number."},
        {119, "Error: Invalid Pattern Generator Option."},
        {120, "Error: Invalid firmware version."},
        {0, ""},
    };
    for (const auto& [code, text] : cases)
        EXPECT_STREQ(ModuleCodeText(code), text) << "code " << code;
}

}  // namespace
}  // namespace stratigon::test
