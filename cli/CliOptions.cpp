#include "cli/CliOptions.h"

namespace stratigon::cli {

namespace {

constexpr const char* kCommands[] = {"scan"};

bool IsKnownCommand(const std::string& word)
{
    for (const char* command : kCommands)
        if (word == command)
            return true;
    return false;
}

}  // namespace

const char* UsageText()
{
    return "usage: stratigon-cli [--bench FILE] [--visa LIBRARY] [--no-wait] [--json] COMMAND\n"
           "  scan    every module: frame, slot and logical address\n";
}

std::optional<CliOptions> ParseCommandLine(int argc, char** argv, std::string& error)
{
    CliOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool takesValue = word == "--bench" || word == "--visa";
        if (takesValue && i + 1 >= argc) {
            error = word + " needs a value";
            return std::nullopt;
        }
        if (word == "--bench")
            options.benchFile = argv[++i];
        else if (word == "--visa")
            options.visaLibrary = argv[++i];
        else if (word == "--no-wait")
            options.noWait = true;
        else if (word == "--json")
            options.json = true;
        else if (word.rfind("--", 0) == 0) {
            error = "unknown option " + word;
            return std::nullopt;
        } else if (options.command.empty())
            options.command = word;
        else
            options.arguments.push_back(word);
    }
    if (options.command.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    if (!IsKnownCommand(options.command)) {
        error = "unknown command " + options.command;
        return std::nullopt;
    }
    if (!options.arguments.empty()) {
        error = "unexpected argument " + options.arguments.front();
        return std::nullopt;
    }
    return options;
}

}  // namespace stratigon::cli
