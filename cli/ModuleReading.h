// One module as the tool prints it: where it sits, how its readout ended and what the record
// held afterwards. Taken at once, because the next readout overwrites the record.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "instrument/CVxiBus.h"
#include "module/CModule.h"

namespace stratigon::cli {

struct ModuleReading {
    DeviceEntry device;
    int status = 0;
    ProductType productType = ProductType::UnknownProduct;
    std::string productName, serialNumber, uniqueId, memoryDepth, stateSpeed, timingSpeed, channels, firmwareVersion;
};

ModuleReading TakeReading(const CModule& module, const DeviceEntry& device, int status);

// The status as the program would show it; success has no text of its own there.
std::string StatusText(int status);

nlohmann::ordered_json ToJson(const ModuleReading& reading);
// One "Label: value" line per field.
std::string ToText(const ModuleReading& reading);
// A table with one row per module and a heading.
std::string ToTable(const std::vector<ModuleReading>& readings);

}  // namespace stratigon::cli
