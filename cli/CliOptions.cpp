#include "cli/CliOptions.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace stratigon::cli {

namespace {

struct CommandSpec {
    const char* name;
    std::size_t fewestArguments;
    std::size_t mostArguments;
    std::vector<std::string> options;  // besides the global ones
};

const CommandSpec kCommands[] = {
    {"scan", 0, 0, {}},
    {"show", 1, 1, {}},
    {"upgrades", 0, 1, {"--all", "--csv"}},
    {"report", 1, 1, {"--upgrade", "--out"}},
    {"install", 2, 2, {}},
    {"journal", 0, 0, {"--serial", "--since"}},
};

// Options that a command takes only in some of its forms.
struct OptionRule {
    bool (*broken)(const CliOptions&);
    const char* problem;
};

const OptionRule kOptionRules[] = {
    {[](const CliOptions& o) { return o.all && o.arguments.empty(); }, "--all goes with upgrades MODULE"},
    {[](const CliOptions& o) { return o.csv && (o.all || o.json); }, "--csv goes with neither --all nor --json"},
    {[](const CliOptions& o) { return o.since && !IsJournalDate(*o.since); }, "--since takes a date such as 2026-03-04"},
};

struct OptionSpec {
    const char* name;
    bool takesValue;
    void (*apply)(CliOptions&, const char* value);
};

const OptionSpec kOptions[] = {
    {"--help", false, [](CliOptions& o, const char*) { o.help = true; }},
    {"-h", false, [](CliOptions& o, const char*) { o.help = true; }},
    {"--version", false, [](CliOptions& o, const char*) { o.version = true; }},
    {"--bench", true, [](CliOptions& o, const char* v) { o.benchFile = v; }},
    {"--visa", true, [](CliOptions& o, const char* v) { o.visaLibrary = v; }},
    {"--no-wait", false, [](CliOptions& o, const char*) { o.noWait = true; }},
    {"--json", false, [](CliOptions& o, const char*) { o.json = true; }},
    {"--all", false, [](CliOptions& o, const char*) { o.all = true; }},
    {"--upgrade", true, [](CliOptions& o, const char* v) { o.upgrade = v; }},
    {"--out", true, [](CliOptions& o, const char* v) { o.out = v; }},
    {"--csv", false, [](CliOptions& o, const char*) { o.csv = true; }},
    {"--serial", true, [](CliOptions& o, const char* v) { o.serial = v; }},
    {"--since", true, [](CliOptions& o, const char* v) { o.since = v; }},
};

const OptionSpec* FindOption(const std::string& word)
{
    for (const OptionSpec& option : kOptions)
        if (word == option.name)
            return &option;
    return nullptr;
}

const CommandSpec* FindCommand(const std::string& name)
{
    for (const CommandSpec& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

// The command-specific options that were given to a command that does not take them.
std::optional<std::string> MisplacedOption(const CliOptions& options, const CommandSpec& command)
{
    const std::pair<const char*, bool> given[] = {
        {"--all", options.all},          {"--upgrade", options.upgrade.has_value()}, {"--out", options.out.has_value()},
        {"--csv", options.csv},          {"--serial", options.serial.has_value()},   {"--since", options.since.has_value()}};
    for (const auto& [name, present] : given)
        if (present && std::find(command.options.begin(), command.options.end(), name) == command.options.end())
            return std::string(name) + " does not go with " + command.name;
    return std::nullopt;
}

std::optional<std::string> CheckCommand(const CliOptions& options)
{
    if (options.command.empty())
        return "no command given";
    const CommandSpec* command = FindCommand(options.command);
    if (command == nullptr)
        return "unknown command " + options.command;
    if (options.arguments.size() < command->fewestArguments)
        return options.command + " needs " +
               (options.arguments.empty() ? "a module (unique ID or serial number)" : "an option");
    if (options.arguments.size() > command->mostArguments)
        return "unexpected argument " + options.arguments[command->mostArguments];
    if (!options.arguments.empty() && options.arguments.front().empty())
        return "the module's unique ID or serial number is empty";
    if (const auto misplaced = MisplacedOption(options, *command))
        return misplaced;
    for (const OptionRule& rule : kOptionRules)
        if (rule.broken(options))
            return rule.problem;
    return std::nullopt;
}

}  // namespace

bool IsJournalDate(const std::string& text)
{
    // The start of the journal's own times: 2026-03-04, or more of 2026-03-04T10:15:30Z.
    static const std::string kPattern = "9999-99-99T99:99:99Z";
    if (text.size() < 10 || text.size() > kPattern.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (kPattern[i] == '9' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != kPattern[i])
            return false;
    return true;
}

const char* UsageText()
{
    return "usage: stratigon-cli [--bench FILE] [--visa LIBRARY] [--no-wait] [--json] COMMAND\n"
           "       stratigon-cli --help | -h | --version\n"
           "  scan                                   every module: frame, slot, status and what was read\n"
           "  show MODULE                            one module, named by unique ID or serial number\n"
           "  upgrades MODULE [--all]                the possible upgrades as the dialog lists them;\n"
           "                                         --all also lists the rows that do not fit, and why\n"
           "  upgrades [--csv]                       the order list: every upgrade of every module\n"
           "  report MODULE [--upgrade OPTION] [--out PATH]   write the upgrade information file\n"
           "  install MODULE OPTION                  install one kit option (same designations as automation)\n"
           "  journal [--serial S] [--since DATE]    the installations recorded, unfinished ones marked\n";
}

std::optional<CliOptions> ParseCommandLine(int argc, char** argv, std::string& error)
{
    CliOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (const OptionSpec* option = FindOption(word)) {
            if (option->takesValue && i + 1 >= argc) {
                error = word + " needs a value";
                return std::nullopt;
            }
            option->apply(options, option->takesValue ? argv[++i] : nullptr);
        } else if (word.size() > 1 && word.rfind("--", 0) == 0) {
            error = "unknown option " + word;
            return std::nullopt;
        } else if (options.command.empty()) {
            options.command = word;
        } else {
            options.arguments.push_back(word);
        }
    }
    if (options.help || options.version)
        return options;
    if (const auto problem = CheckCommand(options)) {
        error = *problem;
        return std::nullopt;
    }
    return options;
}

}  // namespace stratigon::cli
