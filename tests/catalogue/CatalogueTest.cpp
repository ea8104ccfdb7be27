#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "catalogue/FindOptionTable.h"
#include "catalogue/OptionCatalogue.h"
#include "catalogue/OptionNames.h"
#include "support/Recorders.h"

namespace stratigon::test {
namespace {

// A row as five plain texts, so failures print what was found.
struct Row {
    std::string name, requiredDepth, requiredSpeed, resultingDepth, resultingSpeed;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& r)
{
    return out << r.name << " [" << r.requiredDepth << " " << r.requiredSpeed << " -> " << r.resultingDepth << " "
               << r.resultingSpeed << "]";
}

const ProductOptionTable* TableOf(const std::string& product)
{
    const auto tables = OptionCatalogue::Tables();
    const auto found = std::find_if(tables.begin(), tables.end(), [&](const auto& t) { return product == t.productName; });
    return found == tables.end() ? nullptr : &*found;
}

std::vector<Row> RowsOf(const std::string& product)
{
    std::vector<Row> rows;
    const ProductOptionTable* table = TableOf(product);
    for (std::int32_t i = 0; table != nullptr && i < table->rowCount; ++i) {
        const OptionRow& r = table->rows[i];
        rows.push_back({r.kitOptionName, r.requiredDepth, r.requiredSpeed, r.resultingDepth, r.resultingSpeed});
    }
    return rows;
}

// Every table of the catalogue in catalogue order: kit model code, rows, base configuration.
const std::tuple<const char*, const char*, int, const char*, const char*> kTables[] = {
    {"KVX7L1A", "KVX7L1AUP", 6, "64K", "100MHz"},     {"KVX7L1B", "KVX7L1BUP", 6, "64K", "100MHz"},
    {"KVX7L2A", "KVX7L2AUP", 6, "64K", "100MHz"},     {"KVX7L2B", "KVX7L2BUP", 6, "64K", "100MHz"},
    {"KVX7M1A", "KVX7M1AUP", 6, "64K", "100MHz"},     {"KVX7M1B", "KVX7M1BUP", 6, "64K", "100MHz"},
    {"KVX7M2A", "KVX7M2AUP", 6, "64K", "100MHz"},     {"KVX7M2B", "KVX7M2BUP", 6, "64K", "100MHz"},
    {"KVX7N1", "KVX7N1UP", 2, "1M", "100MHz"},        {"KVX7N2", "KVX7N2UP", 2, "1M", "100MHz"},
    {"KVX7N3", "KVX7N3UP", 2, "1M", "100MHz"},        {"KVX7N4", "KVX7N4UP", 2, "1M", "100MHz"},
    {"KVX7Q1", "KVX7Q1UP", 4, "512K", "235MHz"},      {"KVX7Q2", "KVX7Q2UP", 4, "512K", "235MHz"},
    {"KVX7Q3", "KVX7Q3UP", 4, "512K", "235MHz"},      {"KVX7Q4", "KVX7Q4UP", 4, "512K", "235MHz"},
    {"KVX7R1A", "KVX7R1AUP", 23, "64K", "100MHz"},    {"KVX7R1B", "KVX7R1BUP", 23, "64K", "100MHz"},
    {"KVX7R2A", "KVX7R2AUP", 23, "64K", "100MHz"},    {"KVX7R2B", "KVX7R2BUP", 23, "64K", "100MHz"},
    {"KVX9XL16A", "KVX9XL16AUP", 2, "16M", "100MHz"}, {"KVX9XL16B", "KVX9XL16BUP", 2, "16M", "100MHz"},
    {"KVX9XL64A", "KVX9XL64AUP", 2, "64M", "100MHz"}, {"KVX9XL64B", "KVX9XL64BUP", 2, "64M", "100MHz"},
    {"KVX5L1", "KVX5UP", 3, "32K", "100MHz"},         {"KVX5L2", "KVX5UP", 3, "32K", "100MHz"},
    {"KVX5M1", "KVX5UP", 3, "32K", "100MHz"},         {"KVX5M2", "KVX5UP", 3, "32K", "100MHz"},
    {"KVX5N1", "KVX5UP", 2, "512K", "100MHz"},        {"KVX5N2", "KVX5UP", 2, "512K", "100MHz"},
    {"KVX5N3", "KVX5UP", 2, "512K", "100MHz"},        {"KVX5N4", "KVX5UP", 2, "512K", "100MHz"},
    {"KVX7PG2", "KVX7PG2UP", 2, "256K", "ANY"},       {"KVX7P1", "KVX7P1UP", 76, "128K", "120MHz"},
    {"KVX7P2", "KVX7P2UP", 76, "128K", "120MHz"},     {"KVX7P3", "KVX7P3UP", 76, "128K", "120MHz"},
    {"KVX7P4", "KVX7P4UP", 76, "128K", "120MHz"},     {"KVX9XL64C", "KVX9XL64CUP", 4, "64M", "120MHz"},
    {"KVX9XL64D", "KVX9XL64DUP", 4, "64M", "120MHz"},
};

TEST(OptionCatalogue, ThirtyNineTablesInOrderEachOpeningWithItsFactoryDefaultRow)
{
    const auto tables = OptionCatalogue::Tables();
    ASSERT_EQ(tables.size(), std::size(kTables));
    const OptionRow* next = OptionCatalogue::Rows().data();
    int total = 0;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const auto& [product, kit, rowCount, baseDepth, baseSpeed] = kTables[i];
        EXPECT_STREQ(tables[i].productName, product) << "lookup row " << i;
        EXPECT_EQ(tables[i].rowCount, rowCount) << product;
        EXPECT_EQ(tables[i].rows, next) << product << " must follow the table before it";
        const Row factoryDefault{std::string(kit) + "-Opt-FD", "ANY", "ANY", baseDepth, baseSpeed};
        EXPECT_EQ(RowsOf(product).front(), factoryDefault) << product;
        for (const Row& row : RowsOf(product))
            EXPECT_EQ(row.name.size(), std::string(kit).size() + 7) << row << ": kit code, -Opt-, two-character code";
        next += tables[i].rowCount;
        total += tables[i].rowCount;
    }
    EXPECT_EQ(total, 506);
    EXPECT_EQ(OptionCatalogue::Rows().size(), 506u);
}

TEST(OptionCatalogue, GroupOneProductsHaveTheExampleTable)
{
    for (const char* product : {"KVX7L1A", "KVX7L1B", "KVX7L2A", "KVX7L2B", "KVX7M1A", "KVX7M1B", "KVX7M2A", "KVX7M2B"}) {
        const std::string k = std::string(product) + "UP";
        const std::vector<Row> expected = {
            {k + "-Opt-FD", "ANY", "ANY", "64K", "100MHz"},     {k + "-Opt-01", "64K", "100MHz", "256K", "100MHz"},
            {k + "-Opt-04", "64K", "100MHz", "64K", "200MHz"},  {k + "-Opt-05", "64K", "100MHz", "256K", "200MHz"},
            {k + "-Opt-10", "256K", "100MHz", "256K", "200MHz"}, {k + "-Opt-17", "64K", "200MHz", "256K", "200MHz"},
        };
        EXPECT_EQ(RowsOf(product), expected) << product;
    }
}

// Complete grids stand in their tables from index 1 on, so index n holds code n.
TEST(OptionCatalogue, GridExamplesHaveTheirTransitions)
{
    const std::pair<int, Row> cases[] = {
        {1, {"KVX7R1AUP-Opt-01", "64K", "100MHz", "256K", "100MHz"}}, {4, {"KVX7R1AUP-Opt-04", "64K", "100MHz", "64K", "200MHz"}},
        {7, {"KVX7R1AUP-Opt-07", "64K", "100MHz", "4M", "200MHz"}},   {8, {"KVX7R1AUP-Opt-08", "256K", "100MHz", "1M", "100MHz"}},
        {14, {"KVX7R1AUP-Opt-14", "1M", "100MHz", "1M", "200MHz"}},   {17, {"KVX7R1AUP-Opt-17", "64K", "200MHz", "256K", "200MHz"}},
        {22, {"KVX7R1AUP-Opt-22", "1M", "200MHz", "4M", "200MHz"}},   {50, {"KVX7P1UP-Opt-50", "512K", "235MHz", "2M", "235MHz"}},
        {51, {"KVX7P1UP-Opt-51", "512K", "235MHz", "8M", "235MHz"}},  {57, {"KVX7P1UP-Opt-57", "2M", "235MHz", "8M", "235MHz"}},
        {75, {"KVX7P1UP-Opt-75", "8M", "450MHz", "32M", "450MHz"}},   {3, {"KVX9XL64CUP-Opt-03", "64M", "235MHz", "64M", "450MHz"}},
    };
    for (const auto& [code, row] : cases) {
        const std::vector<Row> rows = RowsOf(row.name.substr(0, row.name.find("UP-")));
        ASSERT_LT(static_cast<std::size_t>(code), rows.size()) << row;
        EXPECT_EQ(rows[static_cast<std::size_t>(code)], row);
    }
}

// The grid rule checked from its definition: each upgrade grows or keeps both values and
// changes one; all of them come once, ordered by present speed, present depth, new speed,
// new depth, and numbered from 01.
TEST(OptionCatalogue, CompleteGridTablesHoldEveryTransitionOfTheirGridInOrder)
{
    const std::tuple<const char*, std::vector<std::string>, std::vector<std::string>> grids[] = {
        {"KVX7R2B", {"64K", "256K", "1M", "4M"}, {"100MHz", "200MHz"}},
        {"KVX7P4", {"128K", "512K", "2M", "8M", "32M"}, {"120MHz", "235MHz", "450MHz"}},
        {"KVX9XL64D", {"64M"}, {"120MHz", "235MHz", "450MHz"}},
    };
    for (const auto& [product, depths, speeds] : grids) {
        auto at = [](const std::vector<std::string>& list, const std::string& v) { return std::find(list.begin(), list.end(), v) - list.begin(); };
        std::vector<std::tuple<long, long, long, long>> expected;
        for (long s1 = 0; s1 < static_cast<long>(speeds.size()); ++s1)
            for (long d1 = 0; d1 < static_cast<long>(depths.size()); ++d1)
                for (long s2 = s1; s2 < static_cast<long>(speeds.size()); ++s2)
                    for (long d2 = d1; d2 < static_cast<long>(depths.size()); ++d2)
                        if (s2 != s1 || d2 != d1)
                            expected.emplace_back(s1, d1, s2, d2);
        const std::vector<Row> rows = RowsOf(product);
        ASSERT_EQ(rows.size(), expected.size() + 1) << product;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const Row& r = rows[i];
            EXPECT_EQ(std::make_tuple(at(speeds, r.requiredSpeed), at(depths, r.requiredDepth), at(speeds, r.resultingSpeed),
                                      at(depths, r.resultingDepth)), expected[i - 1]) << r;
            EXPECT_EQ(OptionCode(r.name), (i < 10 ? "0" : "") + std::to_string(i)) << r;
        }
    }
}

TEST(OptionCatalogue, SmallTablesHaveTheirOwnUpgradesAfterTheFactoryDefault)
{
    const std::pair<const char*, std::vector<Row>> cases[] = {
        {"KVX7N3", {{"KVX7N3UP-Opt-14", "1M", "100MHz", "1M", "200MHz"}}},
        {"KVX7Q2", {{"KVX7Q2UP-Opt-50", "512K", "235MHz", "2M", "235MHz"}, {"KVX7Q2UP-Opt-51", "512K", "235MHz", "8M", "235MHz"},
                    {"KVX7Q2UP-Opt-57", "2M", "235MHz", "8M", "235MHz"}}},
        {"KVX9XL16A", {{"KVX9XL16AUP-Opt-01", "16M", "100MHz", "16M", "200MHz"}}},
        {"KVX9XL64B", {{"KVX9XL64BUP-Opt-01", "64M", "100MHz", "64M", "200MHz"}}},
        {"KVX5L1", {{"KVX5UP-Opt-1M", "32K", "ANY", "128K", "ANY"}, {"KVX5UP-Opt-1S", "ANY", "100MHz", "ANY", "200MHz"}}},
        {"KVX5M2", {{"KVX5UP-Opt-4M", "32K", "ANY", "128K", "ANY"}, {"KVX5UP-Opt-4S", "ANY", "100MHz", "ANY", "200MHz"}}},
        {"KVX5N1", {{"KVX5UP-Opt-5S", "512K", "100MHz", "512K", "200MHz"}}},
        {"KVX5N4", {{"KVX5UP-Opt-8S", "512K", "100MHz", "512K", "200MHz"}}},
        {"KVX7PG2", {{"KVX7PG2UP-Opt-1M", "256K", "ANY", "1M", "ANY"}}},
    };
    for (const auto& [product, upgrades] : cases) {
        const std::vector<Row> rows = RowsOf(product);
        EXPECT_EQ(std::vector<Row>(rows.begin() + 1, rows.end()), upgrades) << product;
    }
}

TEST(FindOptionTable, WholeNamesInAnyLetterCaseFindTheirTableOthersFindNothingAndSaySo)
{
    const std::pair<std::string, const char*> cases[] = {
        {"KVX7L1A", "KVX7L1A"}, {"kvx7l1a", "KVX7L1A"}, {"Kvx9xl64D", "KVX9XL64D"}, {"KVX7L1", nullptr},
        {"KVX7L1AX", nullptr},  {"KVX7L1A ", nullptr},  {"", nullptr},            {"KVX5UP", nullptr},
    };
    for (const auto& [name, table] : cases) {
        RecordingSink sink;
        std::int32_t count = 0x0DEAD;
        const OptionRow* rows = FindOptionTable(name, sink, count);
        if (table != nullptr) {
            EXPECT_EQ(rows, TableOf(table)->rows) << "'" << name << "'";
            EXPECT_EQ(count, TableOf(table)->rowCount) << "'" << name << "'";
            EXPECT_TRUE(sink.messages.empty()) << "'" << name << "'";
        } else {
            EXPECT_EQ(rows, nullptr) << "'" << name << "'";
            EXPECT_EQ(count, 0x0DEAD) << "the row count must stay as it was for '" << name << "'";
            EXPECT_EQ(sink.messages, std::vector<std::string>{"Error: No option table defined for this product: " + name});
        }
    }
}

TEST(OptionDesignation, NamesARowByKitOptionNameDisplayFormOrCodeInAnyCase)
{
    const std::tuple<const char*, const char*, std::int32_t> cases[] = {
        {"KVX7L1A", "KVX7L1AUP-Opt-05", 3},   {"KVX7L1A", "kvx7l1aup-opt-05", 3},  {"KVX7L1A", "KVX7L1AUP Option 05", 3},
        {"KVX7L1A", "kvx7l1aup option 17", 5}, {"KVX7L1A", "05", 3},               {"KVX7L1A", "fd", 0},
        {"KVX7P1", "75", 75},                  {"KVX5L2", "2m", 1},                 {"KVX5L2", "KVX5UP-Opt-2S", 2},
        {"KVX7PG2", "KVX7PG2UP Option 1M", 1},
        // Names that are not a row of the module's own table.
        {"KVX7L1A", "KVX7L2AUP-Opt-05", -1},   {"KVX7L1A", "06", -1},               {"KVX7L1A", "5", -1},
        {"KVX7L1A", "", -1},                   {"KVX7L1A", " 05", -1},              {"KVX7L1A", "KVX7L1AUP Option05", -1},
        {"KVX5L2", "1M", -1},                  {"KVX7L1A", "Opt-05", -1},
    };
    for (const auto& [product, designation, index] : cases) {
        const ProductOptionTable* table = TableOf(product);
        EXPECT_EQ(FindOptionByDesignation(table->rows, table->rowCount, designation), index) << product << " '" << designation << "'";
    }
    EXPECT_EQ(FindOptionByDesignation(nullptr, 0, "05"), -1);
}

}  // namespace
}  // namespace stratigon::test
