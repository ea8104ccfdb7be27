#include "catalogue/CatalogueText.h"

#include <algorithm>

namespace stratigon {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string RemoveBlanks(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(result), [](char c) { return c != ' '; });
    return result;
}

std::string SpeedForDisplay(std::string_view catalogueSpeed)
{
    constexpr std::string_view kUnit = "MHz";
    std::string result;
    std::size_t start = 0;
    for (std::size_t found; (found = catalogueSpeed.find(kUnit, start)) != std::string_view::npos;
         start = found + kUnit.size())
        result.append(catalogueSpeed.substr(start, found - start)).append(" MHz");
    result.append(catalogueSpeed.substr(start));
    return result;
}

int CompareIgnoringCase(std::string_view left, std::string_view right)
{
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char a = static_cast<unsigned char>(AsciiLower(left[i]));
        const unsigned char b = static_cast<unsigned char>(AsciiLower(right[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (left.size() == right.size())
        return 0;
    return left.size() < right.size() ? -1 : 1;
}

bool EqualsIgnoringCase(std::string_view left, std::string_view right)
{
    return left.size() == right.size() && CompareIgnoringCase(left, right) == 0;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::string UpperCase(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), AsciiUpper);
    return result;
}

}  // namespace stratigon
