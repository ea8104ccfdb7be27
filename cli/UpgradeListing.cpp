#include "cli/UpgradeListing.h"

#include "catalogue/CSortedList.h"
#include "catalogue/OptionNames.h"
#include "cli/TextTable.h"

namespace stratigon::cli {

std::vector<UpgradeCandidate> OrderForListing(const std::vector<UpgradeCandidate>& candidates, bool all)
{
    // The same sorted list the dialog fills decides the order of the listed lines.
    CSortedList list;
    for (const UpgradeCandidate& candidate : candidates)
        if (candidate.listed)
            list.AddString(candidate.line);
    std::vector<UpgradeCandidate> ordered;
    for (int i = 0; i < list.GetCount(); ++i)
        for (const UpgradeCandidate& candidate : candidates)
            if (candidate.listed && candidate.line == list.GetText(i))
                ordered.push_back(candidate);
    for (const UpgradeCandidate& candidate : candidates)
        if (all && !candidate.listed)
            ordered.push_back(candidate);
    return ordered;
}

nlohmann::ordered_json ToJson(const std::vector<UpgradeCandidate>& listing, bool all)
{
    nlohmann::ordered_json entries = nlohmann::ordered_json::array();
    for (const UpgradeCandidate& c : listing) {
        nlohmann::ordered_json entry = {{"option", c.row->kitOptionName},
                                {"memory_depth", c.memoryDepth},
                                {"state_speed", c.stateSpeed},
                                {"line", c.line}};
        if (all) {
            entry["fits"] = c.listed;
            entry["reason"] = c.reason;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string ToText(const std::vector<UpgradeCandidate>& listing, bool all)
{
    if (listing.empty())
        return "- No Possible Upgrades -\n";
    TextTable table;
    std::vector<std::string> heading = {"Upgrade Kit & Option", "Memory Depth", "State Speed"};
    if (all)
        heading.push_back("Not possible because");
    table.AddRow(heading);
    for (const UpgradeCandidate& c : listing) {
        std::vector<std::string> row = {DisplayOptionName(c.row->kitOptionName), c.memoryDepth, c.stateSpeed};
        if (all)
            row.push_back(c.reason);
        table.AddRow(row);
    }
    return table.Render();
}

}  // namespace stratigon::cli
