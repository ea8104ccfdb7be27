#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/CSortedList.h"
#include "catalogue/PossibleUpgrades.h"
#include "support/Recorders.h"

namespace stratigon::test {
namespace {

std::vector<std::string> LinesOf(const ISortedList& list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.GetCount(); ++i)
        lines.push_back(list.GetText(i));
    return lines;
}

TEST(SortedList, KeepsLinesInAlphabeticalOrderIgnoringCaseAndItsSelectionOnItsLine)
{
    CSortedList list;
    EXPECT_EQ(list.AddString("m"), 0);
    list.SetCurSel(0);
    for (const char* line : {"b", "C", "a", "B2", "A1", "z"})
        list.AddString(line);
    EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"a", "A1", "b", "B2", "C", "m", "z"}));
    EXPECT_EQ(list.GetText(list.GetCurSel()), "m");
    list.SetCurSel(7);
    EXPECT_EQ(list.GetCurSel(), ISortedList::kNoSelection) << "an index past the end clears the selection";
}

struct ListCase {
    const char* what;
    ModuleConfiguration module;
    std::vector<std::string> lines;
};

TEST(PossibleUpgrades, ListsTheFittingRowsAsDisplayLinesInListOrder)
{
    const ListCase cases[] = {
        {"23-row product at its base",
         {"KVX7R1A", "64K", "100 MHz"},
         {"KVX7R1AUP Option 01\t256K\t100 MHz", "KVX7R1AUP Option 02\t1M\t100 MHz", "KVX7R1AUP Option 03\t4M\t100 MHz",
          "KVX7R1AUP Option 04\t64K\t200 MHz", "KVX7R1AUP Option 05\t256K\t200 MHz", "KVX7R1AUP Option 06\t1M\t200 MHz",
          "KVX7R1AUP Option 07\t4M\t200 MHz"}},
        {"23-row product at its top", {"KVX7R1A", "4M", "200 MHz"}, {}},
        {"76-row product one step below its top", {"KVX7P1", "8M", "450 MHz"}, {"KVX7P1UP Option 75\t32M\t450 MHz"}},
        {"group-1 product at its base",
         {"KVX7L1A", "64K", "100 MHz"},
         {"KVX7L1AUP Option 01\t256K\t100 MHz", "KVX7L1AUP Option 04\t64K\t200 MHz", "KVX7L1AUP Option 05\t256K\t200 MHz"}},
        {"speed already without a blank",
         {"KVX7L1A", "256K", "100MHz"},
         {"KVX7L1AUP Option 10\t256K\t200 MHz"}},
        {"faster but not deeper", {"KVX7L1A", "64K", "200 MHz"}, {"KVX7L1AUP Option 17\t256K\t200 MHz"}},
        {"depth differing only in letter case", {"KVX7L1A", "64k", "100 MHz"}, {}},
        {"product name in small letters", {"kvx7q2", "512K", "235 MHz"},
         {"KVX7Q2UP Option 50\t2M\t235 MHz", "KVX7Q2UP Option 51\t8M\t235 MHz"}},
        {"memory code keeps the module's speed, blank included",
         {"KVX5L1", "32K", "200 MHz"},
         {"KVX5UP Option 1M\t128K\t200 MHz"}},
        {"both codes of a group-7 product", {"KVX5M2", "32K", "100 MHz"},
         {"KVX5UP Option 4M\t128K\t100 MHz", "KVX5UP Option 4S\t32K\t200 MHz"}},
        {"failed readout: only rows that require no depth", {"KVX5L1", "", "100 MHz"}, {"KVX5UP Option 1S\t\t200 MHz"}},
        {"speed code keeps the module's own depth text", {"KVX5L2", "2M", "100 MHz"}, {"KVX5UP Option 2S\t2M\t200 MHz"}},
        {"pattern generator at any speed", {"KVX7PG2", "256K", "134 MHz"}, {"KVX7PG2UP Option 1M\t1M\t134 MHz"}},
        {"pattern generator already upgraded", {"KVX7PG2", "1M", "134 MHz"}, {}},
    };
    for (const ListCase& c : cases) {
        RecordingSink sink;
        CSortedList list;
        EXPECT_EQ(ListPossibleUpgrades(c.module, list, sink), 1) << c.what;
        EXPECT_EQ(LinesOf(list), c.lines) << c.what;
        EXPECT_TRUE(sink.messages.empty()) << c.what;
    }
}

TEST(PossibleUpgrades, OnlyAddsToTheListAndAProductWithoutTableAddsNothingAndSaysSo)
{
    RecordingSink sink;
    CSortedList list;
    EXPECT_EQ(ListPossibleUpgrades({"KVX7N1", "1M", "100 MHz"}, list, sink), 1);
    EXPECT_EQ(ListPossibleUpgrades({"KVX7L9Z", "64K", "100 MHz"}, list, sink), 0);
    EXPECT_EQ(ListPossibleUpgrades({"KVX7L1A", "256K", "100 MHz"}, list, sink), 1);
    EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"KVX7L1AUP Option 10\t256K\t200 MHz", "KVX7N1UP Option 14\t1M\t200 MHz"}));
    EXPECT_EQ(sink.messages, std::vector<std::string>{"Error: No option table defined for this product: KVX7L9Z"});
}

TEST(PossibleUpgrades, RowsThatDoNotFitSayWhy)
{
    RecordingSink sink;
    const auto rows = ExamineOptionTable({"KVX7L1A", "64K", "100 MHz"}, sink);
    ASSERT_TRUE(rows.has_value());
    const std::vector<std::string> reasons = {
        "factory default, never listed as an upgrade",
        "",
        "",
        "",
        "needs memory depth 256K, module has 64K",
        "needs state speed 200 MHz, module has 100 MHz",
    };
    ASSERT_EQ(rows->size(), reasons.size());
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        EXPECT_EQ((*rows)[i].reason, reasons[i]) << (*rows)[i].line;
        EXPECT_EQ((*rows)[i].listed, reasons[i].empty()) << (*rows)[i].line;
    }
    const auto empty = ExamineOptionTable({"KVX7L1A", "", ""}, sink);
    EXPECT_EQ((*empty)[1].reason, "needs memory depth 64K, module has none; needs state speed 100 MHz, module has none");
}

}  // namespace
}  // namespace stratigon::test
