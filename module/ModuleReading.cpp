#include "module/ModuleReading.h"

namespace stratigon {

ModuleReading TakeReading(const CModule& module, const DeviceEntry& device, int status)
{
    return {device,
            status,
            module.GetProductType(),
            module.GetProductName(),
            module.GetSerialNumber(),
            module.GetUniqueId(),
            module.GetMemoryDepth(),
            module.GetStateSpeed(),
            module.GetTimingSpeed(),
            module.GetChannels(),
            module.GetFirmwareVersion()};
}

ModuleReading ReadModuleOf(CModule& module, const DeviceEntry& device)
{
    const int status = module.ReadModule(device.session);
    return TakeReading(module, device, status);
}

ModuleReading ReadModuleAt(CModule& module, int row) { return ReadModuleOf(module, module.GetDevice(row)); }

std::vector<ModuleReading> ReadEveryModule(CModule& module)
{
    std::vector<ModuleReading> readings;
    readings.reserve(static_cast<std::size_t>(module.GetDeviceCount()));
    for (int row = 0; row < module.GetDeviceCount(); ++row)
        readings.push_back(ReadModuleAt(module, row));
    return readings;
}

}  // namespace stratigon
