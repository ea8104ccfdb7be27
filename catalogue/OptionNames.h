// The names a kit option goes by: the kit option name "K-Opt-05", the display form
// "K Option 05" and the option code "05"; and the lookup of a row by any of them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/OptionRow.h"

namespace stratigon {

std::string DisplayOptionName(std::string_view kitOptionName);
// The text after "-Opt-", or nothing when the name has no such part.
std::string_view OptionCode(std::string_view kitOptionName);
bool IsFactoryDefault(const OptionRow& row);

// The index of the row that `designation` names, in any of the three forms and any letter
// case; -1 when it names none of them.
std::int32_t FindOptionByDesignation(const OptionRow* rows, std::int32_t rowCount, std::string_view designation);
// The same in the product's own table; -1 also when the product has none. Tells nobody.
std::int32_t FindProductOptionByDesignation(std::string_view productName, std::string_view designation);

}  // namespace stratigon
