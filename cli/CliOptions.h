// The command line of stratigon-cli: global options, the command and its arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace stratigon::cli {

struct CliOptions {
    std::string benchFile;
    std::string visaLibrary;
    bool noWait = false;
    bool json = false;
    std::string command;
    std::vector<std::string> arguments;
};

// Parses argv; on a usage error returns nothing and sets `error` to a one-line reason.
std::optional<CliOptions> ParseCommandLine(int argc, char** argv, std::string& error);

const char* UsageText();

}  // namespace stratigon::cli
