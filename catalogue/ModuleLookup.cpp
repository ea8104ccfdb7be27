#include "catalogue/ModuleLookup.h"

#include "catalogue/AutomationResult.h"
#include "catalogue/CatalogueText.h"

namespace stratigon {

namespace {

template <class Matches>
FoundModule FindFirst(CModule& module, Matches matches)
{
    FoundModule found;
    for (int row = 0; row < module.GetDeviceCount(); ++row) {
        found.status = module.ReadModule(module.GetDevice(row).session);
        if (matches()) {
            found.row = row;
            return found;
        }
    }
    return found;
}

}  // namespace

bool LooksLikeUniqueId(std::string_view text) { return text.find(':') != std::string_view::npos; }

FoundModule FindModuleByUniqueId(CModule& module, std::string_view uniqueId)
{
    const std::string wanted = UpperCase(uniqueId);
    return FindFirst(module, [&] { return module.GetUniqueId() == wanted; });
}

FoundModule FindModuleByUniqueIdOrSerial(CModule& module, std::string_view name)
{
    const std::string wanted = UpperCase(name);
    return FindFirst(module, [&] { return module.GetUniqueId() == wanted || module.GetSerialNumber() == wanted; });
}

UniqueIdLookup FindUniqueIdBySerial(CModule& module, std::string_view serialNumber)
{
    const std::string wanted = UpperCase(serialNumber);
    if (wanted.empty()) {
        if (module.GetDeviceCount() != 1)
            return {AutomationResult::SerialRequired, {}};
        module.ReadModule(module.GetDevice(0).session);
        return {AutomationResult::Success, module.GetUniqueId()};
    }
    for (int row = 0; row < module.GetDeviceCount(); ++row) {
        module.ReadModule(module.GetDevice(row).session);
        if (module.GetSerialNumber() == wanted) {
            const std::string uniqueId = module.GetUniqueId();
            return {uniqueId.empty() ? AutomationResult::NoUniqueId : AutomationResult::Success, uniqueId};
        }
    }
    return {AutomationResult::SerialNotFound, {}};
}

}  // namespace stratigon
