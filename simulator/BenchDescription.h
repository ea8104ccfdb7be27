// A whole simulated bench as read from its file: the instruments in the order the resource
// manager lists them, and the faults of the resource manager itself.
#pragma once

#include "simulator/ModuleDescription.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace stratigon::sim {

struct BenchDescription {
    struct Faults {
        // Bench index of the resource after which every viFindNext fails.
        std::optional<std::size_t> findNextError;
        bool openDefaultRmError = false;
    };

    std::vector<ModuleDescription> modules;
    Faults faults;
};

}  // namespace stratigon::sim
