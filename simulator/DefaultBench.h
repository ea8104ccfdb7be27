// The bench used when no bench file is named ("make run" on a machine without hardware): a
// mainframe and two expansion frames holding every kind of module the program knows.
#pragma once

#include <string>

namespace stratigon::sim {

class DefaultBench {
public:
    // Bench-file JSON, the same format a bench file uses.
    static std::string Text();
};

}  // namespace stratigon::sim
