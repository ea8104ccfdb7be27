// Turns bench file text (JSON) into a bench description: every field has a default, unknown
// fields are ignored, and a field of the wrong type is an error that names it.
#pragma once

#include "simulator/BenchDescription.h"

#include <string_view>

namespace stratigon::sim {

class BenchParser {
public:
    // Throws BenchError; the reason names the field ("modules[2].depth must be an integer")
    // or the place of a syntax error ("parse error at line 3, column 5: ...").
    static BenchDescription Parse(std::string_view text);
};

}  // namespace stratigon::sim
