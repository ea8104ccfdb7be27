// The possible upgrades of a module as the tool prints them: in the dialog's order first,
// and with --all the rows that do not fit behind them, in table order, with the reason.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "catalogue/PossibleUpgrades.h"

namespace stratigon::cli {

std::vector<UpgradeCandidate> OrderForListing(const std::vector<UpgradeCandidate>& candidates, bool all);

nlohmann::ordered_json ToJson(const std::vector<UpgradeCandidate>& listing, bool all);
std::string ToText(const std::vector<UpgradeCandidate>& listing, bool all);

}  // namespace stratigon::cli
