// The part of a simulated module that outlives a process: what "*RST" applied, the POKEd
// memory words and the last update stamp. The state file holds one per resource.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace stratigon::sim {

struct ModuleState {
    std::int64_t depth = 0;
    std::int64_t stateSpeedMhz = 0;
    std::string patternOption;
    std::map<std::uint32_t, std::uint32_t> memory;
    std::optional<std::int64_t> lastUpdate;

    bool operator==(const ModuleState&) const = default;
};

}  // namespace stratigon::sim
