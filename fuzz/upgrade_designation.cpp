// The look-up of a kit option by the name a user or a script gave it, and the text rules of
// the catalogue, on arbitrary text. Input: a product name, a line feed, the designation.
// The designation is looked up in the named product's table, where the row found must be the
// first one the designation names, and in every table of the catalogue, where it must be one
// the designation names.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/CatalogueText.h"
#include "catalogue/FindOptionTable.h"
#include "catalogue/OptionCatalogue.h"
#include "catalogue/OptionNames.h"
#include "fuzz/support/FuzzCheck.h"

namespace stratigon::fuzz {
namespace {

bool Names(const OptionRow& row, std::string_view designation)
{
    const std::string_view name = row.kitOptionName;
    return EqualsIgnoringCase(designation, name) || EqualsIgnoringCase(designation, DisplayOptionName(name)) ||
           EqualsIgnoringCase(designation, OptionCode(name));
}

std::int32_t CheckLookUp(const OptionRow* rows, std::int32_t rowCount, std::string_view designation)
{
    const std::int32_t found = FindOptionByDesignation(rows, rowCount, designation);
    FUZZ_CHECK(found >= -1 && found < rowCount);
    if (found >= 0)
        FUZZ_CHECK(Names(rows[found], designation));
    return found;
}

void CheckProductLookUp(std::string_view productName, std::string_view designation)
{
    std::int32_t rowCount = 0;
    const OptionRow* rows = LookUpOptionTable(productName, rowCount);
    const std::int32_t found = FindProductOptionByDesignation(productName, designation);
    if (rows == nullptr) {
        FUZZ_CHECK(found == -1);
        return;
    }
    FUZZ_CHECK(found == CheckLookUp(rows, rowCount, designation));
    for (std::int32_t i = 0; i < (found < 0 ? rowCount : found); ++i)
        FUZZ_CHECK(!Names(rows[i], designation));
}

// What callers of the text rules rely on: blanks go and nothing else does, a speed shown
// with blanks compares as the catalogue's, and letter case is ignored both ways round.
void CheckTextRules(std::string_view text, std::string_view other)
{
    const std::string bare = RemoveBlanks(text);
    FUZZ_CHECK(bare.find(' ') == std::string::npos);
    FUZZ_CHECK(bare.size() == text.size() - static_cast<std::size_t>(std::count(text.begin(), text.end(), ' ')));
    FUZZ_CHECK(RemoveBlanks(SpeedForDisplay(text)) == bare);

    const std::string upper = UpperCase(text);
    FUZZ_CHECK(upper.size() == text.size() && UpperCase(upper) == upper);
    FUZZ_CHECK(CompareIgnoringCase(text, upper) == 0 && EqualsIgnoringCase(upper, text));
    const int order = CompareIgnoringCase(text, other);
    FUZZ_CHECK(order >= -1 && order <= 1 && CompareIgnoringCase(other, text) == -order);
    FUZZ_CHECK(EqualsIgnoringCase(text, other) == (order == 0));
    for (std::size_t length = 0; length <= text.size(); length += 1 + length / 4)
        FUZZ_CHECK(StartsWithIgnoringCase(upper, text.substr(0, length)));

    const std::string_view code = OptionCode(text);
    FUZZ_CHECK(code.empty() || text.ends_with(code));
}

}  // namespace
}  // namespace stratigon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace stratigon;
    using namespace stratigon::fuzz;

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = input.find('\n');
    const std::string_view productName = input.substr(0, lineEnd);
    const std::string_view designation = lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);

    CheckProductLookUp(productName, designation);
    for (const ProductOptionTable& table : OptionCatalogue::Tables())
        CheckLookUp(table.rows, table.rowCount, designation);
    CheckTextRules(productName, designation);
    CheckTextRules(designation, productName);
    return 0;
}
