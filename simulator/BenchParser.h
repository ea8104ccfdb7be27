// Turns bench file text (JSON) into a bench description: every field has a default, and a
// field of the wrong type or an unknown one is an error that names it.
#pragma once

#include "simulator/BenchDescription.h"

#include <string_view>

namespace stratigon::sim {

class BenchParser {
public:
    // Throws BenchError; the reason names the field ("modules[2].depth must be an integer")
    // or the place of a syntax error ("parse error at line 3, column 5: ...") or of an unknown
    // field, with the known name nearest to it.
    static BenchDescription Parse(std::string_view text);
};

}  // namespace stratigon::sim
