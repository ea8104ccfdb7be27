// The selection of the kit options that fit a module as it is now, and the display line
// of each: kit option, memory depth and state speed after the upgrade, tab separated.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ISortedList.h"
#include "catalogue/ModuleConfiguration.h"
#include "catalogue/OptionRow.h"
#include "instrument/IMessageSink.h"

namespace stratigon {

class CModule;

// One row of a module's option table as the selection judges it.
struct UpgradeCandidate {
    std::int32_t index = 0;
    const OptionRow* row = nullptr;
    bool listed = false;       // it fits the module and is not the factory default
    std::string reason;        // why it is not listed; empty when it is
    std::string memoryDepth;   // the columns of the display line
    std::string stateSpeed;
    std::string line;
};

// `depth` and `speed` are the module's values with their blanks removed; "ANY" matches all.
bool RowFits(const OptionRow& row, std::string_view depth, std::string_view speed);

// The module's own values fill the columns where the row keeps them ("ANY").
std::string DisplayLine(const OptionRow& row, const std::string& moduleDepth, const std::string& moduleSpeed);

// Every row of the module's table in table order; nothing when the product has no table
// (the user has been told so).
std::optional<std::vector<UpgradeCandidate>> ExamineOptionTable(const ModuleConfiguration& module, IMessageSink& messages);

// Adds the display line of every fitting upgrade to `list`, which is never cleared. 1 when
// the product has an option table, whether or not a line was added; 0 when it has none.
int ListPossibleUpgrades(const ModuleConfiguration& module, ISortedList& list, IMessageSink& messages);
int ListPossibleUpgrades(const CModule& module, ISortedList& list, IMessageSink& messages);

}  // namespace stratigon
