#include "cli/ModuleReading.h"

#include <algorithm>

#include "cli/TextTable.h"
#include "instrument/FrameNames.h"
#include "module/ModuleCodes.h"

namespace stratigon::cli {

std::string StatusText(int status) { return ModuleCodeText(status); }

nlohmann::ordered_json ToJson(const ModuleReading& r)
{
    return {{"frame", r.device.interfaceNumber},
            {"frame_name", FrameName(r.device.interfaceNumber)},
            {"slot", r.device.slot},
            {"logical_address", r.device.logicalAddress},
            {"status", r.status},
            {"status_text", StatusText(r.status)},
            {"product_type", static_cast<int>(r.productType)},
            {"product_name", r.productName},
            {"serial_number", r.serialNumber},
            {"unique_id", r.uniqueId},
            {"memory_depth", r.memoryDepth},
            {"state_speed", r.stateSpeed},
            {"timing_speed", r.timingSpeed},
            {"channels", r.channels},
            {"firmware_version", r.firmwareVersion}};
}

std::string ToText(const ModuleReading& r)
{
    const std::string status = StatusText(r.status);
    const std::pair<const char*, std::string> fields[] = {
        {"Frame:", FrameName(r.device.interfaceNumber)},
        {"Slot:", std::to_string(r.device.slot)},
        {"Logical address:", std::to_string(r.device.logicalAddress)},
        {"Status:", status.empty() ? std::string("OK") : status},
        {"Product type:", r.productName},
        {"Serial number:", r.serialNumber},
        {"Unique ID:", r.uniqueId},
        {"Memory depth:", r.memoryDepth},
        {"State speed:", r.stateSpeed},
        {"Timing speed:", r.timingSpeed},
        {"Channels:", r.channels},
        {"Firmware version:", r.firmwareVersion},
    };
    TextTable table;
    for (const auto& [label, value] : fields)
        table.AddRow({label, value});
    return table.Render();
}

std::string ToTable(const std::vector<ModuleReading>& readings)
{
    TextTable table;
    table.AddRow({"Frame", "Slot", "Product", "Serial", "Unique ID", "Depth", "State speed", "Status"});
    for (const ModuleReading& r : readings) {
        const std::string status = StatusText(r.status);
        table.AddRow({FrameName(r.device.interfaceNumber), std::to_string(r.device.slot), r.productName, r.serialNumber,
                      r.uniqueId, r.memoryDepth, r.stateSpeed, status.empty() ? std::string("OK") : status});
    }
    return table.Render();
}

}  // namespace stratigon::cli
