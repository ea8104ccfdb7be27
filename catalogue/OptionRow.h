// One upgrade kit option of a product, stated as a transition from the memory depth and state
// speed a module must have to the ones it has afterwards.
#pragma once

#include <cstddef>

namespace stratigon {

// In the required columns it matches every value; in the resulting ones it keeps the value.
inline constexpr char kAnyValue[] = "ANY";

// Long enough for the longest kit model code, "-Opt-" and a two-character option code.
inline constexpr std::size_t kKitOptionNameSize = 24;

struct OptionRow {
    char kitOptionName[kKitOptionNameSize]{};
    const char* requiredDepth = kAnyValue;
    const char* requiredSpeed = kAnyValue;
    const char* resultingDepth = kAnyValue;
    const char* resultingSpeed = kAnyValue;
};

}  // namespace stratigon
