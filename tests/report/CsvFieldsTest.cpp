#include <gtest/gtest.h>

#include "report/CsvFields.h"

namespace stratigon::test {
namespace {

// What a spreadsheet gets: every field quoted, quotes doubled, UTF-8 only; and what a reader
// makes of a line, whole or cut off.
TEST(CsvFields, LinesRoundTripAndALineCutOffIsNoLine)
{
    const struct {
        std::vector<std::string> fields;
        std::string line;
    } cases[] = {
        {{"a", ""}, "\"a\",\"\"\r\n"},
        {{"Upgrade failed. / \"05\", 256K"}, "\"Upgrade failed. / \"\"05\"\", 256K\"\r\n"},
        {{"caf\xC3\xA9", "\xE9t\xE9"}, "\"caf\xC3\xA9\",\"?t?\"\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvLine(c.fields), c.line);
        const auto back = ParseCsvLine(c.line.substr(0, c.line.size() - 2));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->size(), c.fields.size());
    }
    EXPECT_EQ(ParseCsvLine("\"a\",\"b\",\"c"), std::nullopt) << "cut off inside a field";
}

}  // namespace
}  // namespace stratigon::test
