// The command line of stratigon-cli: global options, the command, its arguments and the
// options that only some commands take.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace stratigon::cli {

enum ExitCode : int {
    kExitSuccess = 0,
    kExitFailed = 1,  // the operation failed; the reason is on standard error
    kExitUsage = 2,
};

struct CliOptions {
    std::string benchFile;
    std::string visaLibrary;
    bool noWait = false;
    bool json = false;
    std::string command;
    std::vector<std::string> arguments;
    bool all = false;                   // upgrades
    bool csv = false;                   // upgrades without a module: the order list for a spreadsheet
    std::optional<std::string> serial;  // journal
    std::optional<std::string> since;   // journal
    std::optional<std::string> upgrade; // report
    std::optional<std::string> out;     // report
    bool help = false;                  // --help or -h: print the usage and do nothing else
    bool version = false;               // --version: print the version and do nothing else
};

// Parses argv; on a usage error returns nothing and sets `error` to a one-line reason.
std::optional<CliOptions> ParseCommandLine(int argc, char** argv, std::string& error);

const char* UsageText();

// Whether `text` is a date or a time as the journal writes them, or the start of one.
bool IsJournalDate(const std::string& text);

}  // namespace stratigon::cli
