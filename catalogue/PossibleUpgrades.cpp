#include "catalogue/PossibleUpgrades.h"

#include <cstring>

#include "catalogue/CatalogueText.h"
#include "catalogue/FindOptionTable.h"
#include "catalogue/OptionNames.h"

namespace stratigon {

namespace {

bool Matches(const char* required, std::string_view value)
{
    return std::strcmp(required, kAnyValue) == 0 || value == required;
}

std::string Mismatch(const char* what, std::string_view required, const std::string& held)
{
    return std::string("needs ") + what + " " + std::string(required) + ", module has " +
           (held.empty() ? std::string("none") : held);
}

// Why a row is not listed, or nothing when it is.
std::string ReasonNotListed(const OptionRow& row, const ModuleConfiguration& module)
{
    if (IsFactoryDefault(row))
        return "factory default, never listed as an upgrade";
    std::string reason;
    if (!Matches(row.requiredDepth, RemoveBlanks(module.memoryDepth)))
        reason = Mismatch("memory depth", row.requiredDepth, module.memoryDepth);
    if (!Matches(row.requiredSpeed, RemoveBlanks(module.stateSpeed)))
        reason += (reason.empty() ? "" : "; ") + Mismatch("state speed", SpeedForDisplay(row.requiredSpeed), module.stateSpeed);
    return reason;
}

std::string DepthColumn(const OptionRow& row, const std::string& moduleDepth)
{
    return std::strcmp(row.resultingDepth, kAnyValue) == 0 ? moduleDepth : std::string(row.resultingDepth);
}

std::string SpeedColumn(const OptionRow& row, const std::string& moduleSpeed)
{
    return std::strcmp(row.resultingSpeed, kAnyValue) == 0 ? moduleSpeed : SpeedForDisplay(row.resultingSpeed);
}

}  // namespace

bool RowFits(const OptionRow& row, std::string_view depth, std::string_view speed)
{
    return Matches(row.requiredDepth, depth) && Matches(row.requiredSpeed, speed);
}

std::string DisplayLine(const OptionRow& row, const std::string& moduleDepth, const std::string& moduleSpeed)
{
    return DisplayOptionName(row.kitOptionName) + '\t' + DepthColumn(row, moduleDepth) + '\t' + SpeedColumn(row, moduleSpeed);
}

std::optional<std::vector<UpgradeCandidate>> ExamineOptionTable(const ModuleConfiguration& module, IMessageSink& messages)
{
    std::int32_t rowCount = 0;
    const OptionRow* rows = FindOptionTable(module.productName, messages, rowCount);
    if (rows == nullptr)
        return std::nullopt;
    std::vector<UpgradeCandidate> candidates;
    for (std::int32_t i = 0; i < rowCount; ++i) {
        const OptionRow& row = rows[i];
        UpgradeCandidate candidate{i, &row, false, ReasonNotListed(row, module), DepthColumn(row, module.memoryDepth),
                                   SpeedColumn(row, module.stateSpeed), DisplayLine(row, module.memoryDepth, module.stateSpeed)};
        candidate.listed = candidate.reason.empty();
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

int ListPossibleUpgrades(const ModuleConfiguration& module, ISortedList& list, IMessageSink& messages)
{
    const auto candidates = ExamineOptionTable(module, messages);
    if (!candidates)
        return 0;
    for (const UpgradeCandidate& candidate : *candidates)
        if (candidate.listed)
            list.AddString(candidate.line);
    return 1;
}

int ListPossibleUpgrades(const CModule& module, ISortedList& list, IMessageSink& messages)
{
    return ListPossibleUpgrades(ConfigurationOf(module), list, messages);
}

}  // namespace stratigon
