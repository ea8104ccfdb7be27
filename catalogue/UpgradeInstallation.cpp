#include "catalogue/UpgradeInstallation.h"

#include <cstdio>
#include <cstring>

#include "catalogue/AutomationResult.h"
#include "catalogue/CInstallAttempt.h"
#include "catalogue/CatalogueText.h"
#include "catalogue/FindOptionTable.h"
#include "catalogue/PossibleUpgrades.h"
#include "module/CModule.h"
#include "module/ModuleCodes.h"

namespace stratigon {

namespace {

constexpr const char kAlreadyInstalled[] = "The upgrade is already installed.\nUpgrade not necessary.";

struct StatusResult {
    InstallStatus status;
    std::uint32_t result;
};

constexpr StatusResult kClientResults[] = {
    {InstallStatus::NoOptionTable, AutomationResult::OptionNotDefined},
    {InstallStatus::InvalidOption, AutomationResult::OptionNotDefined},
    {InstallStatus::Incompatible, AutomationResult::Incompatible},
    {InstallStatus::AlreadyInstalled, AutomationResult::Success},
    {InstallStatus::ChangeFailed, AutomationResult::UpgradeFailed},
    {InstallStatus::Installed, AutomationResult::Success},
};

bool IsAny(const char* value) { return std::strcmp(value, kAnyValue) == 0; }

std::string InvalidOptionMessage(std::int32_t rowIndex)
{
    char text[64];
    std::snprintf(text, sizeof text, "Error: Invalid option #%d", static_cast<int>(rowIndex));
    return text;
}

std::string IncompatibilityMessage(const OptionRow& row)
{
    return std::string("Error: The current module configuration is incompatible with the upgrade:\n") +
           "Increase from " + row.requiredDepth + "@" + SpeedForDisplay(row.requiredSpeed) + " to " +
           row.resultingDepth + "@" + SpeedForDisplay(row.resultingSpeed) + "\nUpgrade failed.";
}

std::string SuccessMessage(const OptionRow& row, const std::string& oldDepth, const std::string& oldSpeed, const CModule& module)
{
    std::string text = "You have successfully installed the upgrade:\n";
    if (IsAny(row.requiredDepth) && IsAny(row.requiredSpeed))
        text += "Set to factory default ";
    else
        text += "Increased from " + oldDepth + "@" + oldSpeed + " to ";
    return text + module.GetMemoryDepth() + "@" + module.GetStateSpeed();
}

// The value the row sets, or empty when the row keeps it or the module has it already.
std::string NewValue(const char* resulting, const std::string& present)
{
    return IsAny(resulting) || present == resulting ? std::string() : std::string(resulting);
}

// The change shows why it failed, except for a refused update stamp, which shows nothing: only
// then is the person told here that the update failed, so one failure makes one message.
std::string ChangeFailedMessage(int changeCode, bool changeSaidWhy)
{
    return changeSaidWhy ? std::string() : ModuleCodeText(changeCode);
}

InstallOutcome Apply(CModule& module, ViSession session, std::int32_t rowIndex, IMessageSink& messages)
{
    const std::string depth = RemoveBlanks(module.GetMemoryDepth());
    const std::string speed = RemoveBlanks(module.GetStateSpeed());
    std::int32_t rowCount = 0;
    const OptionRow* rows = FindOptionTable(module, messages, rowCount);
    if (rows == nullptr)
        return {InstallStatus::NoOptionTable, 0, {}};
    // Each front end says in its own words that its designation named no row.
    if (rowIndex < 0 || rowIndex >= rowCount)
        return {InstallStatus::InvalidOption, 0, {}};
    const OptionRow& row = rows[rowIndex];
    if (!RowFits(row, depth, speed))
        return {InstallStatus::Incompatible, 0, IncompatibilityMessage(row)};
    const std::string newDepth = NewValue(row.resultingDepth, depth);
    const std::string newSpeed = NewValue(row.resultingSpeed, speed);
    if (newDepth.empty() && newSpeed.empty())
        return {InstallStatus::AlreadyInstalled, 0, kAlreadyInstalled};
    const std::string oldDepth = module.GetMemoryDepth();
    const std::string oldSpeed = module.GetStateSpeed();
    const std::size_t shownBefore = module.MessagesShown();
    const int code = module.ChangeConfiguration(session, newDepth, newSpeed);
    if (code != ModuleCode::UpdateComplete)
        return {InstallStatus::ChangeFailed, code, ChangeFailedMessage(code, module.MessagesShown() != shownBefore)};
    return {InstallStatus::Installed, code, SuccessMessage(row, oldDepth, oldSpeed, module)};
}

}  // namespace

InstallOutcome ApplyOption(CModule& module, ViSession session, std::int32_t rowIndex, IMessageSink& messages,
                           const InstallFrontEnd& frontEnd)
{
    CInstallAttempt attempt(module, session, rowIndex, frontEnd, messages);
    const InstallOutcome outcome = Apply(module, session, rowIndex, attempt);
    attempt.Finish(outcome);
    return outcome;
}

void InstallOption(CModule& module, ViSession session, std::int32_t rowIndex, IMessageSink& messages,
                   const std::function<void()>& closeInstallWindow)
{
    InstallOutcome outcome = ApplyOption(module, session, rowIndex, messages, kInstallWindow);
    // The window offers only rows of the table: only a program gets here with another index.
    if (outcome.status == InstallStatus::InvalidOption)
        outcome.message = InvalidOptionMessage(rowIndex);
    if (!outcome.message.empty())
        messages.ShowMessage(outcome.message.c_str());
    if (outcome.status == InstallStatus::Installed && closeInstallWindow)
        closeInstallWindow();
}

std::uint32_t InstallOptionForClient(CModule& module, ViSession session, std::int32_t rowIndex, IMessageSink& messages)
{
    return ClientResultOf(ApplyOption(module, session, rowIndex, messages, kAutomation).status);
}

std::uint32_t ClientResultOf(InstallStatus status)
{
    for (const StatusResult& entry : kClientResults)
        if (entry.status == status)
            return entry.result;
    return AutomationResult::OperationFailed;
}

}  // namespace stratigon
