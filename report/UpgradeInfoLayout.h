// The byte layout of the upgrade information file: CR LF line ends, tabs as the columns
// of the printed form, no byte-order mark, the module's texts exactly as held.
#pragma once

#include <string>

#include "StratigonVersion.h"
#include "report/UpgradeInfo.h"

namespace stratigon {

// The utility's own version as the file states it.
inline constexpr char kStratigonVersion[] = STRATIGON_VERSION_TEXT;

std::string ComposeUpgradeInfo(const UpgradeInfo& info);

// A display line with its last tab doubled, so the depth column lines up on paper.
std::string FileFormLine(const std::string& displayLine);

}  // namespace stratigon
