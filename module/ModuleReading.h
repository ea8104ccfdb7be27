// One module as a readout left the record: where it sits, how the readout ended and what the
// record held. Taken at once, because the next readout overwrites the record.
#pragma once

#include <string>
#include <vector>

#include "instrument/CVxiBus.h"
#include "module/CModule.h"

namespace stratigon {

struct ModuleReading {
    DeviceEntry device;
    int status = 0;  // the ModuleCode of the readout
    ProductType productType = ProductType::UnknownProduct;
    std::string productName, serialNumber, uniqueId, memoryDepth, stateSpeed, timingSpeed, channels, firmwareVersion;
};

ModuleReading TakeReading(const CModule& module, const DeviceEntry& device, int status);

// Reads the module behind `device` and takes what the readout found.
ModuleReading ReadModuleOf(CModule& module, const DeviceEntry& device);
// The same for device-table row `row`.
ModuleReading ReadModuleAt(CModule& module, int row);

// Reads every module once, in table order.
std::vector<ModuleReading> ReadEveryModule(CModule& module);

}  // namespace stratigon
