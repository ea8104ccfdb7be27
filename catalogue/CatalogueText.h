// The text rules shared by the catalogue, the selection, the installation and the report:
// how module values meet catalogue values, and how letter case is ignored where it is.
#pragma once

#include <string>
#include <string_view>

namespace stratigon {

// The module holds "100 MHz"; the catalogue says "100MHz". Comparisons use the module's
// value with every blank removed.
std::string RemoveBlanks(std::string_view text);

// A catalogue speed as the user reads it: every "MHz" gets a blank before it.
std::string SpeedForDisplay(std::string_view catalogueSpeed);

// Letter case is ignored for the plain ASCII letters only, as the catalogue holds no others.
int CompareIgnoringCase(std::string_view left, std::string_view right);
bool EqualsIgnoringCase(std::string_view left, std::string_view right);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
// The text with its plain ASCII letters in capitals, as serial numbers and unique IDs are.
std::string UpperCase(std::string_view text);

}  // namespace stratigon
