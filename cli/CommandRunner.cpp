#include "cli/CommandRunner.h"

#include <algorithm>
#include <cstdio>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "catalogue/AutomationResult.h"
#include "catalogue/CatalogueText.h"
#include "catalogue/FindOptionTable.h"
#include "catalogue/InstallJournalBinding.h"
#include "catalogue/ModuleConfiguration.h"
#include "catalogue/OptionNames.h"
#include "catalogue/UpgradeInstallation.h"
#include "cli/JournalListing.h"
#include "cli/ModuleReading.h"
#include "cli/OrderList.h"
#include "cli/PlatformLookups.h"
#include "cli/ReadOnlyFile.h"
#include "cli/ResultTexts.h"
#include "cli/TerminalProgress.h"
#include "cli/UpgradeListing.h"
#include "cli/VisaSelection.h"
#include "module/ModuleCodes.h"
#include "report/CInstallJournalFile.h"
#include "report/CUpgradeInfoFile.h"
#include "report/InstallJournalReader.h"
#include "report/SystemLocalDate.h"

namespace stratigon::cli {

namespace {

struct CommandEntry {
    const char* name;
    int (CommandRunner::*run)();
    bool scans;  // the command works on the modules, so the tool starts up as the program does
};

}  // namespace

CommandRunner::CommandRunner(const CliOptions& options) : m_options(options) {}

CommandRunner::~CommandRunner()
{
    if (m_module)
        m_module->Close();
}

int CommandRunner::Run()
{
    static const CommandEntry kCommands[] = {
        {"scan", &CommandRunner::Scan, true},         {"show", &CommandRunner::Show, true},
        {"upgrades", &CommandRunner::Upgrades, true}, {"report", &CommandRunner::Report, true},
        {"install", &CommandRunner::Install, true},   {"journal", &CommandRunner::Journal, false},
    };
    for (const CommandEntry& command : kCommands)
        if (m_options.command == command.name)
            return command.scans && !StartUp() ? kExitFailed : (this->*command.run)();
    return Fail(AutomationResult::OperationFailed, "unknown command " + m_options.command);
}

bool CommandRunner::StartUp()
{
    std::string notice, error;
    if (!LoadVisa(m_library, m_options.visaLibrary, m_options.benchFile, notice, error)) {
        Fail(AutomationResult::OperationFailed, error);
        return false;
    }
    if (!notice.empty())
        std::fprintf(stderr, "stratigon-cli: %s\n", notice.c_str());
    ISleeper& sleeper = m_options.noWait ? static_cast<ISleeper&>(m_noWaits) : m_realWaits;
    m_module = std::make_unique<CModule>(m_library.Functions(), m_messages, sleeper, m_clock, m_random);
    TerminalProgress progress;
    progress.SetDeviceCount(0);
    sleeper.Sleep(CVxiBus::kStartDelayMs);
    if (!m_module->Scan(progress)) {
        Fail(AutomationResult::OperationFailed, ScanFailureReason());
        return false;
    }
    return true;
}

// The message shown gives the failed call's status as a number; the library says what it is.
std::string CommandRunner::ScanFailureReason() const
{
    char description[256] = {};
    const ViStatus status = m_module->GetScanFailure();
    m_library.Functions().viStatusDesc(VI_NULL, status, description);
    description[sizeof description - 1] = '\0';
    if (description[0] == '\0')
        std::snprintf(description, sizeof description, "VISA status %08lx", static_cast<unsigned long>(static_cast<std::uint32_t>(status)));
    return std::string("the scan failed: ") + description;
}

int CommandRunner::Scan()
{
    const std::vector<ModuleReading> readings = ReadEveryModule(*m_module);
    if (m_options.json) {
        nlohmann::ordered_json modules = nlohmann::ordered_json::array();
        for (const ModuleReading& reading : readings)
            modules.push_back(ToJson(reading));
        Print(modules);
    } else {
        Print(readings.empty() ? std::string("No modules found.\n") : ToTable(readings));
    }
    return kExitSuccess;
}

FoundModule CommandRunner::FindNamedModule() { return FindModuleByUniqueIdOrSerial(*m_module, m_options.arguments[0]); }

int CommandRunner::Show()
{
    const FoundModule found = FindNamedModule();
    if (!found)
        return Fail(AutomationResult::UniqueIdNotFound);
    const ModuleReading reading = TakeReading(*m_module, m_module->GetDevice(found.row), found.status);
    if (m_options.json)
        Print(ToJson(reading));
    else
        Print(ToText(reading));
    return kExitSuccess;
}

int CommandRunner::Upgrades()
{
    if (m_options.arguments.empty())
        return OrderList();
    if (!FindNamedModule())
        return Fail(AutomationResult::UniqueIdNotFound);
    const auto candidates = ExamineOptionTable(ConfigurationOf(*m_module), m_messages);
    if (!candidates)
        return Fail(AutomationResult::ProductNotDefined);
    const auto listing = OrderForListing(*candidates, m_options.all);
    if (m_options.json)
        Print(ToJson(listing, m_options.all));
    else
        Print(ToText(listing, m_options.all));
    return kExitSuccess;
}

// Named as for an installation, so that the file orders the kit that would be installed;
// a name that fits no possible upgrade is refused rather than written as no selection.
std::uint32_t CommandRunner::SelectedUpgradeLine(std::string& line)
{
    const std::string designation = m_options.upgrade.value_or(std::string());
    if (designation.empty())
        return AutomationResult::Success;
    const auto candidates = ExamineOptionTable(ConfigurationOf(*m_module), m_messages);
    if (!candidates)
        return AutomationResult::ProductNotDefined;
    std::int32_t rowCount = 0;
    const OptionRow* rows = LookUpOptionTable(m_module->GetProductName(), rowCount);
    const std::int32_t row = FindOptionByDesignation(rows, rowCount, designation);
    if (row < 0)
        return AutomationResult::OptionNotDefined;
    const auto candidate = std::find_if(candidates->begin(), candidates->end(),
                                        [row](const UpgradeCandidate& c) { return c.index == row; });
    if (candidate == candidates->end() || !candidate->listed)
        return AutomationResult::Incompatible;
    line = candidate->line;
    return AutomationResult::Success;
}

int CommandRunner::Report()
{
    if (!FindNamedModule())
        return Fail(AutomationResult::UniqueIdNotFound);
    std::string selection;
    if (const std::uint32_t result = SelectedUpgradeLine(selection); result != AutomationResult::Success)
        return Fail(result);
    PlatformLookups lookups = MakePlatformLookups();
    SystemLocalDate today;
    CUpgradeInfoFile file(m_messages, *lookups.versions, today, *lookups.folders);
    const std::string path = m_options.out.value_or(std::string());
    const std::string written = path.empty() ? file.DefaultPath() : path;
    const nlohmann::ordered_json details = {{"path", written}};
    if (IsReadOnlyFile(written))
        return Fail(AutomationResult::OperationFailed, written + " is read-only; it was left as it was.", details);
    const std::uint32_t result = file.SaveUpgradeInfo(*m_module, selection, written);
    if (result == AutomationResult::OperationFailed)
        return Fail(result, written + " could not be written: " + m_messages.LastMessage(), details);
    if (result != AutomationResult::Success)
        return Fail(result, ResultText(result), details);
    if (m_options.json)
        Print(nlohmann::ordered_json{{"result", result}, {"path", written}});
    else
        Print("Wrote " + written + "\n");
    return kExitSuccess;
}

int CommandRunner::OrderList()
{
    const std::vector<OrderLine> lines = CollectOrderLines(*m_module);
    if (m_options.csv)
        PrintBytes(ToCsv(lines));
    else if (m_options.json)
        Print(ToJson(lines));
    else
        Print(ToText(lines));
    return kExitSuccess;
}

int CommandRunner::Install()
{
    const FoundModule found = FindNamedModule();
    if (!found)
        return Fail(AutomationResult::UniqueIdNotFound);
    const ViSession session = m_module->GetDevice(found.row).session;
    std::int32_t rowCount = 0;
    const OptionRow* rows = LookUpOptionTable(m_module->GetProductName(), rowCount);
    const std::int32_t row = FindOptionByDesignation(rows, rowCount, UpperCase(m_options.arguments[1]));
    CInstallJournalFile journal(CInstallJournalFile::DefaultPath());
    const InstallJournalBinding binding(journal);
    // Even an option the module does not have is an attempt the journal keeps.
    const InstallOutcome outcome = ApplyOption(*m_module, session, row, m_messages, kCommandLine);
    const std::uint32_t result = ClientResultOf(outcome.status);
    if (row < 0)
        return Fail(result);
    if (!outcome.message.empty())
        m_messages.ShowMessage(outcome.message.c_str());
    const ModuleReading after = TakeReading(*m_module, m_module->GetDevice(found.row), found.status);
    if (result != AutomationResult::Success) {
        if (!m_options.json)
            Print(ToText(after));
        return Fail(result, ResultText(result), {{"module", ToJson(after)}});
    }
    if (m_options.json)
        Print(nlohmann::ordered_json{{"result", result}, {"module", ToJson(after)}});
    else
        Print(ToText(after));
    return kExitSuccess;
}

int CommandRunner::Journal()
{
    const std::string path = CInstallJournalFile::DefaultPath();
    const JournalContents contents = ReadInstallJournal(path);
    for (const std::string& warning : contents.warnings)
        std::fprintf(stderr, "stratigon-cli: %s\n", warning.c_str());
    const std::vector<JournalEntry> entries = SelectJournalEntries(contents.records, m_options.serial, m_options.since);
    if (m_options.json)
        Print(ToJson(entries));
    else
        Print(ToText(entries));
    return kExitSuccess;
}

int CommandRunner::Fail(std::uint32_t result) const { return Fail(result, ResultText(result)); }

int CommandRunner::Fail(std::uint32_t result, const std::string& reason, nlohmann::ordered_json details) const
{
    if (m_options.json) {
        nlohmann::ordered_json answer = {{"result", result}, {"message", reason}};
        answer.update(details);
        Print(answer);
    }
    std::fprintf(stderr, "stratigon-cli: %s\n", reason.c_str());
    return kExitFailed;
}

void CommandRunner::PrintBytes(const std::string& bytes) const
{
#if defined(_WIN32)
    // Lines that end in CR LF already: the console's text mode would add a second CR.
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    Print(bytes);
}

void CommandRunner::Print(const std::string& text) const
{
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

void CommandRunner::Print(const nlohmann::ordered_json& value) const
{
    // Module texts are the instrument's bytes; whatever is not valid UTF-8 is replaced.
    Print(value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n");
}

}  // namespace stratigon::cli
