// Finding a module on the bench by what a caller knows of it: its unique ID, or its serial
// number. Each look-up reads the modules of the device table in table order until one matches,
// so afterwards the module object's record describes the module read last.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "module/CModule.h"

namespace stratigon {

struct FoundModule {
    static constexpr int kNone = -1;
    int row = kNone;  // the device-table row, kNone when no module matched
    int status = 0;   // the ModuleCode of the last readout
    explicit operator bool() const { return row != kNone; }
};

// Unique IDs are written in pairs of hex digits between colons; serial numbers never hold one.
bool LooksLikeUniqueId(std::string_view text);

// The first module whose unique ID is `uniqueId`, in any letter case.
FoundModule FindModuleByUniqueId(CModule& module, std::string_view uniqueId);
// The first module whose unique ID or serial number is `name`, in any letter case: the two
// never look alike, so a person may type whichever is at hand.
FoundModule FindModuleByUniqueIdOrSerial(CModule& module, std::string_view name);

struct UniqueIdLookup {
    std::uint32_t result = 0;  // an AutomationResult
    std::string uniqueId;
};

// The unique ID of the module with serial number `serialNumber` (any letter case). Without a
// serial number the bench must hold exactly one module, whose unique ID it is.
UniqueIdLookup FindUniqueIdBySerial(CModule& module, std::string_view serialNumber);

}  // namespace stratigon
