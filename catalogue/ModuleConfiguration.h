// What the upgrade selection looks at in a module: its product name and its memory depth
// and state speed as the module record holds them (state speed with its blank).
#pragma once

#include <string>

namespace stratigon {

class CModule;

struct ModuleConfiguration {
    std::string productName;
    std::string memoryDepth;
    std::string stateSpeed;
};

ModuleConfiguration ConfigurationOf(const CModule& module);

}  // namespace stratigon
