#include "catalogue/OptionCatalogue.h"

#include <array>
#include <string_view>

namespace stratigon {

namespace {

// A grid names every upgrade between its depths and speeds; a kit option's code is its place
// in the grid's order, so one code means one transition throughout a product family.
struct Grid {
    std::span<const char* const> depths;
    std::span<const char* const> speeds;
};

constexpr const char* kGridXDepths[] = {"64K", "256K", "1M", "4M"};
constexpr const char* kGridXSpeeds[] = {"100MHz", "200MHz"};
constexpr const char* kGridYDepths[] = {"128K", "512K", "2M", "8M", "32M"};
constexpr const char* kGridYSpeeds[] = {"120MHz", "235MHz", "450MHz"};
constexpr const char* kGridZDepths[] = {"64M"};
constexpr const char* kGridZSpeeds[] = {"120MHz", "235MHz", "450MHz"};

constexpr Grid kGridX{kGridXDepths, kGridXSpeeds};
constexpr Grid kGridY{kGridYDepths, kGridYSpeeds};
constexpr Grid kGridZ{kGridZDepths, kGridZSpeeds};

// An upgrade row outside any grid. A '#' in the code stands for the product's option digit.
struct RowRule {
    const char* code;
    const char* requiredDepth;
    const char* requiredSpeed;
    const char* resultingDepth;
    const char* resultingSpeed;
};

struct ProductGroup {
    std::span<const char* const> products;
    const char* sharedKitCode;  // null: each product's kit is its own name followed by "UP"
    int firstOptionDigit;       // the option digit of the group's first product
    const char* baseDepth;
    const char* baseSpeed;
    const Grid* grid;                // null when the group takes no grid rows
    std::span<const int> gridCodes;  // empty with a grid: the whole grid
    std::span<const RowRule> rules;  // after the grid rows
};

constexpr const char* kGroup1[] = {"KVX7L1A", "KVX7L1B", "KVX7L2A", "KVX7L2B",
                                   "KVX7M1A", "KVX7M1B", "KVX7M2A", "KVX7M2B"};
constexpr const char* kGroup2[] = {"KVX7N1", "KVX7N2", "KVX7N3", "KVX7N4"};
constexpr const char* kGroup3[] = {"KVX7Q1", "KVX7Q2", "KVX7Q3", "KVX7Q4"};
constexpr const char* kGroup4[] = {"KVX7R1A", "KVX7R1B", "KVX7R2A", "KVX7R2B"};
constexpr const char* kGroup5[] = {"KVX9XL16A", "KVX9XL16B"};
constexpr const char* kGroup6[] = {"KVX9XL64A", "KVX9XL64B"};
constexpr const char* kGroup7[] = {"KVX5L1", "KVX5L2", "KVX5M1", "KVX5M2"};
constexpr const char* kGroup8[] = {"KVX5N1", "KVX5N2", "KVX5N3", "KVX5N4"};
constexpr const char* kGroup9[] = {"KVX7PG2"};
constexpr const char* kGroup10[] = {"KVX7P1", "KVX7P2", "KVX7P3", "KVX7P4"};
constexpr const char* kGroup11[] = {"KVX9XL64C", "KVX9XL64D"};

constexpr int kGroup1Codes[] = {1, 4, 5, 10, 17};
constexpr int kGroup2Codes[] = {14};
constexpr int kGroup3Codes[] = {50, 51, 57};

constexpr RowRule kGroup5Rules[] = {{"01", "16M", "100MHz", "16M", "200MHz"}};
constexpr RowRule kGroup6Rules[] = {{"01", "64M", "100MHz", "64M", "200MHz"}};
constexpr RowRule kGroup7Rules[] = {{"#M", "32K", "ANY", "128K", "ANY"},
                                    {"#S", "ANY", "100MHz", "ANY", "200MHz"}};
constexpr RowRule kGroup8Rules[] = {{"#S", "512K", "100MHz", "512K", "200MHz"}};
constexpr RowRule kGroup9Rules[] = {{"1M", "256K", "ANY", "1M", "ANY"}};

constexpr ProductGroup kGroups[] = {
    {kGroup1, nullptr, 0, "64K", "100MHz", &kGridX, kGroup1Codes, {}},
    {kGroup2, nullptr, 0, "1M", "100MHz", &kGridX, kGroup2Codes, {}},
    {kGroup3, nullptr, 0, "512K", "235MHz", &kGridY, kGroup3Codes, {}},
    {kGroup4, nullptr, 0, "64K", "100MHz", &kGridX, {}, {}},
    {kGroup5, nullptr, 0, "16M", "100MHz", nullptr, {}, kGroup5Rules},
    {kGroup6, nullptr, 0, "64M", "100MHz", nullptr, {}, kGroup6Rules},
    {kGroup7, "KVX5UP", 1, "32K", "100MHz", nullptr, {}, kGroup7Rules},
    {kGroup8, "KVX5UP", 5, "512K", "100MHz", nullptr, {}, kGroup8Rules},
    {kGroup9, nullptr, 0, "256K", "ANY", nullptr, {}, kGroup9Rules},
    {kGroup10, nullptr, 0, "128K", "120MHz", &kGridY, {}, {}},
    {kGroup11, nullptr, 0, "64M", "120MHz", &kGridZ, {}, {}},
};

struct Transition {
    const char* fromDepth;
    const char* fromSpeed;
    const char* toDepth;
    const char* toSpeed;
};

// Walks the grid's transitions in code order: by present speed, present depth, new speed,
// new depth. Code 1 is the first; a code past the last gives nothing.
constexpr bool GridTransition(const Grid& grid, int code, Transition& found)
{
    int n = 0;
    const std::size_t depths = grid.depths.size();
    const std::size_t speeds = grid.speeds.size();
    for (std::size_t s1 = 0; s1 < speeds; ++s1)
        for (std::size_t d1 = 0; d1 < depths; ++d1)
            for (std::size_t s2 = s1; s2 < speeds; ++s2)
                for (std::size_t d2 = d1; d2 < depths; ++d2) {
                    if (s2 == s1 && d2 == d1)
                        continue;
                    if (++n == code) {
                        found = {grid.depths[d1], grid.speeds[s1], grid.depths[d2], grid.speeds[s2]};
                        return true;
                    }
                }
    return false;
}

constexpr int GridSize(const Grid& grid)
{
    Transition ignored{};
    int count = 0;
    while (GridTransition(grid, count + 1, ignored))
        ++count;
    return count;
}

constexpr int GridRowCount(const ProductGroup& group)
{
    if (group.grid == nullptr)
        return 0;
    return group.gridCodes.empty() ? GridSize(*group.grid) : static_cast<int>(group.gridCodes.size());
}

constexpr int TableSize(const ProductGroup& group)
{
    return 1 + GridRowCount(group) + static_cast<int>(group.rules.size());
}

constexpr std::size_t CountTables()
{
    std::size_t count = 0;
    for (const ProductGroup& group : kGroups)
        count += group.products.size();
    return count;
}

constexpr std::size_t CountRows()
{
    std::size_t count = 0;
    for (const ProductGroup& group : kGroups)
        count += group.products.size() * static_cast<std::size_t>(TableSize(group));
    return count;
}

static_assert(CountTables() == OptionCatalogue::kTableCount);
static_assert(CountRows() == OptionCatalogue::kRowCount);

// Fills kit option names without the runtime library, so the whole catalogue stays constant.
class NameBuilder {
public:
    explicit constexpr NameBuilder(char* target) : m_target(target) {}
    constexpr NameBuilder& Append(std::string_view text)
    {
        for (char c : text)
            if (m_length + 1 < kKitOptionNameSize)
                m_target[m_length++] = c;
        m_target[m_length] = '\0';
        return *this;
    }
    constexpr NameBuilder& AppendCode(int code)
    {
        const char digits[] = {static_cast<char>('0' + code / 10), static_cast<char>('0' + code % 10)};
        return Append(std::string_view(digits, 2));
    }

private:
    char* m_target;
    std::size_t m_length = 0;
};

struct ProductContext {
    const ProductGroup& group;
    std::string_view product;
    int optionDigit;
};

constexpr void NameRow(OptionRow& row, const ProductContext& product, std::string_view code, int gridCode)
{
    NameBuilder name(row.kitOptionName);
    if (product.group.sharedKitCode != nullptr)
        name.Append(product.group.sharedKitCode);
    else
        name.Append(product.product).Append("UP");
    name.Append(OptionCatalogue::kOptionSeparator);
    if (gridCode > 0) {
        name.AppendCode(gridCode);
        return;
    }
    for (char c : code) {
        const char digit[] = {static_cast<char>('0' + product.optionDigit)};
        name.Append(c == '#' ? std::string_view(digit, 1) : std::string_view(&c, 1));
    }
}

constexpr OptionRow FactoryDefaultRow(const ProductContext& product)
{
    OptionRow row;
    NameRow(row, product, OptionCatalogue::kFactoryDefaultCode, 0);
    row.resultingDepth = product.group.baseDepth;
    row.resultingSpeed = product.group.baseSpeed;
    return row;
}

constexpr OptionRow GridRow(const ProductContext& product, int code)
{
    Transition transition{};
    GridTransition(*product.group.grid, code, transition);
    OptionRow row;
    NameRow(row, product, {}, code);
    row.requiredDepth = transition.fromDepth;
    row.requiredSpeed = transition.fromSpeed;
    row.resultingDepth = transition.toDepth;
    row.resultingSpeed = transition.toSpeed;
    return row;
}

constexpr OptionRow RuleRow(const ProductContext& product, const RowRule& rule)
{
    OptionRow row;
    NameRow(row, product, rule.code, 0);
    row.requiredDepth = rule.requiredDepth;
    row.requiredSpeed = rule.requiredSpeed;
    row.resultingDepth = rule.resultingDepth;
    row.resultingSpeed = rule.resultingSpeed;
    return row;
}

using RowArray = std::array<OptionRow, OptionCatalogue::kRowCount>;
using TableArray = std::array<ProductOptionTable, OptionCatalogue::kTableCount>;

constexpr std::size_t AppendTable(RowArray& rows, std::size_t next, const ProductContext& product)
{
    rows[next++] = FactoryDefaultRow(product);
    const int gridRows = GridRowCount(product.group);
    for (int i = 0; i < gridRows; ++i) {
        const bool wholeGrid = product.group.gridCodes.empty();
        rows[next++] = GridRow(product, wholeGrid ? i + 1 : product.group.gridCodes[static_cast<std::size_t>(i)]);
    }
    for (const RowRule& rule : product.group.rules)
        rows[next++] = RuleRow(product, rule);
    return next;
}

constexpr RowArray BuildRows()
{
    RowArray rows{};
    std::size_t next = 0;
    for (const ProductGroup& group : kGroups)
        for (std::size_t place = 0; place < group.products.size(); ++place)
            next = AppendTable(rows, next, {group, group.products[place], group.firstOptionDigit + static_cast<int>(place)});
    return rows;
}

constexpr RowArray kRows = BuildRows();

constexpr TableArray BuildTables(const RowArray& rows)
{
    TableArray tables{};
    std::size_t table = 0;
    std::size_t first = 0;
    for (const ProductGroup& group : kGroups)
        for (const char* product : group.products) {
            tables[table++] = {product, &rows[first], TableSize(group)};
            first += static_cast<std::size_t>(TableSize(group));
        }
    return tables;
}

constexpr TableArray kTables = BuildTables(kRows);

}  // namespace

std::span<const ProductOptionTable, OptionCatalogue::kTableCount> OptionCatalogue::Tables() { return kTables; }

std::span<const OptionRow, OptionCatalogue::kRowCount> OptionCatalogue::Rows() { return kRows; }

}  // namespace stratigon
