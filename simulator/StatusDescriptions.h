// The texts viStatusDesc gives for the statuses the simulated library returns, worded like a
// vendor library's so that messages built from them read naturally.
#pragma once

#include "instrument/VisaTypes.h"

#include <optional>
#include <string_view>

namespace stratigon::sim {

class StatusDescriptions {
public:
    // Nothing for a status the simulated library never returns.
    static std::optional<std::string_view> Find(ViStatus status);
};

}  // namespace stratigon::sim
