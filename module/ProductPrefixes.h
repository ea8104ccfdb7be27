// Catalogue data that identifies a module from its identity answer: the product-name prefixes
// of each product type, and the codes of the letters that begin a serial number.
#pragma once

#include <cstdint>

#include "module/ProductType.h"

namespace stratigon {

// Each list ends with an empty text.
inline constexpr const char* PatternGeneratorPrefixes[] = {"KVX7PG", ""};
inline constexpr const char* AnalyzerFamily0Prefixes[] = {"KVX7L", "KVX7M", "KVX7N", "KVX7P", "KVX7Q",
                                                          "KVX7R1", "KVX7R2", ""};
inline constexpr const char* AnalyzerFamily1Prefixes[] = {"KVX5L", "KVX5M", "KVX5N", ""};
inline constexpr const char* AnalyzerFamily2Prefixes[] = {"KVX9XL", ""};

struct ProductPrefixList {
    ProductType type;
    const char* const* prefixes;
};

// In the order they are tried. Every pattern-generator name also contains the type-0 prefix
// "KVX7P", so the pattern generator must come first or it would pass for an analyzer.
inline constexpr ProductPrefixList ProductPrefixLists[] = {
    {ProductType::PatternGenerator, PatternGeneratorPrefixes},
    {ProductType::AnalyzerFamily0, AnalyzerFamily0Prefixes},
    {ProductType::AnalyzerFamily1, AnalyzerFamily1Prefixes},
    {ProductType::AnalyzerFamily2, AnalyzerFamily2Prefixes},
};

struct SerialPrefixRow {
    char letter;
    std::uint32_t code;
};

// Compared case-sensitively: a lower-case letter is not a serial number of ours.
inline constexpr SerialPrefixRow SerialPrefixTable[] = {
    {'B', 0}, {'J', 1}, {'N', 2}, {'C', 3}, {'P', 4}, {'Q', 5}, {'R', 6}, {'S', 7},
};

}  // namespace stratigon
