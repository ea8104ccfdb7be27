#include "catalogue/OptionNames.h"

#include "catalogue/CatalogueText.h"
#include "catalogue/FindOptionTable.h"
#include "catalogue/OptionCatalogue.h"

namespace stratigon {

namespace {

constexpr std::string_view kSeparator = OptionCatalogue::kOptionSeparator;

}  // namespace

std::string DisplayOptionName(std::string_view kitOptionName)
{
    std::string name(kitOptionName);
    const std::size_t separator = name.find(kSeparator);
    if (separator != std::string::npos)
        name.replace(separator, kSeparator.size(), " Option ");
    return name;
}

std::string_view OptionCode(std::string_view kitOptionName)
{
    const std::size_t separator = kitOptionName.find(kSeparator);
    return separator == std::string_view::npos ? std::string_view() : kitOptionName.substr(separator + kSeparator.size());
}

bool IsFactoryDefault(const OptionRow& row)
{
    const std::string marker = std::string(kSeparator) + OptionCatalogue::kFactoryDefaultCode;
    return std::string_view(row.kitOptionName).find(marker) != std::string_view::npos;
}

std::int32_t FindOptionByDesignation(const OptionRow* rows, std::int32_t rowCount, std::string_view designation)
{
    if (rows == nullptr || designation.empty())
        return -1;
    for (std::int32_t i = 0; i < rowCount; ++i) {
        const std::string_view name = rows[i].kitOptionName;
        if (EqualsIgnoringCase(designation, name) || EqualsIgnoringCase(designation, DisplayOptionName(name)) ||
            EqualsIgnoringCase(designation, OptionCode(name)))
            return i;
    }
    return -1;
}

std::int32_t FindProductOptionByDesignation(std::string_view productName, std::string_view designation)
{
    std::int32_t rowCount = 0;
    const OptionRow* rows = LookUpOptionTable(productName, rowCount);
    return FindOptionByDesignation(rows, rowCount, designation);
}

}  // namespace stratigon
