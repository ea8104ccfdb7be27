// stratigon-cli: the program's operations from a command line, over the same core.
#include <cstdio>

#include "cli/CliOptions.h"
#include "cli/CommandRunner.h"
#include "report/UpgradeInfoLayout.h"

int main(int argc, char** argv)
{
    using namespace stratigon::cli;
    std::string error;
    const auto options = ParseCommandLine(argc, argv, error);
    if (!options) {
        // The reason last, where a person looks first.
        std::fprintf(stderr, "%sstratigon-cli: %s\n", UsageText(), error.c_str());
        return kExitUsage;
    }
    if (options->help) {
        std::fputs(UsageText(), stdout);
        return kExitSuccess;
    }
    if (options->version) {
        std::printf("stratigon-cli %s\n", stratigon::kStratigonVersion);
        return kExitSuccess;
    }
    CommandRunner runner(*options);
    return runner.Run();
}
