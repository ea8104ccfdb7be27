#include "catalogue/ModuleConfiguration.h"

#include "module/CModule.h"

namespace stratigon {

ModuleConfiguration ConfigurationOf(const CModule& module)
{
    return {module.GetProductName(), module.GetMemoryDepth(), module.GetStateSpeed()};
}

}  // namespace stratigon
