// Everything the upgrade information file states, as plain texts: the module's identity and
// configuration, the versions, the date, the selected upgrade and the possible ones.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace stratigon {

struct UpgradeInfo {
    std::string productName;
    std::string serialNumber;
    std::string uniqueId;
    std::string memoryDepth;
    std::string stateSpeed;
    std::string timingSpeed;
    std::string channels;
    std::string firmwareVersion;
    bool patternGenerator = false;
    std::string applicationVersion = "Unknown";
    std::string date;
    std::optional<std::string> selectedLine;  // a display line, tab separated
    std::vector<std::string> possibleLines;   // in list order
};

}  // namespace stratigon
