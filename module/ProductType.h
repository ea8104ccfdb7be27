// The kinds of module the program knows: three logic-analyzer families and the pattern
// generator, and the value for an instrument that is none of them.
#pragma once

#include <cstdint>

namespace stratigon {

enum class ProductType : std::int32_t {
    UnknownProduct = -1,
    AnalyzerFamily0 = 0,
    AnalyzerFamily1 = 1,
    AnalyzerFamily2 = 2,
    PatternGenerator = 3,
};

}  // namespace stratigon
