// stratigon-cli's command-line parsing on arbitrary argument vectors, as a shell hands them
// over. Input: the arguments after the program name, separated by NUL bytes (an input that
// ends in one ends in an empty argument). A command line is either refused with a reason, or
// taken: as a request for the usage or the version, or with a command and the arguments and
// options that command takes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliOptions.h"
#include "fuzz/support/FuzzCheck.h"

namespace stratigon::fuzz {
namespace {

struct CommandArguments {
    std::string_view name;
    std::size_t fewest;
    std::size_t most;
};

constexpr CommandArguments kCommands[] = {
    {"scan", 0, 0}, {"show", 1, 1}, {"upgrades", 0, 1}, {"report", 1, 1}, {"install", 2, 2}, {"journal", 0, 0},
};

std::vector<std::string> SplitArguments(std::string_view input)
{
    std::vector<std::string> words = {"stratigon-cli"};
    if (input.empty())
        return words;
    for (std::size_t start = 0;;) {
        const std::size_t end = input.find('\0', start);
        words.emplace_back(input.substr(start, end - start));
        if (end == std::string_view::npos)
            return words;
        start = end + 1;
    }
}

void CheckTaken(const cli::CliOptions& options)
{
    // Asking for the usage or the version does nothing else, so the rest goes unchecked.
    if (options.help || options.version)
        return;
    const auto* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                       [&](const CommandArguments& c) { return c.name == options.command; });
    FUZZ_CHECK(command != std::end(kCommands));
    FUZZ_CHECK(options.arguments.size() >= command->fewest && options.arguments.size() <= command->most);
    FUZZ_CHECK(options.arguments.empty() || !options.arguments.front().empty());
    FUZZ_CHECK(!options.all || (command->name == "upgrades" && !options.arguments.empty()));
    FUZZ_CHECK(!options.csv || (command->name == "upgrades" && !options.all && !options.json));
    FUZZ_CHECK((!options.upgrade && !options.out) || command->name == "report");
    FUZZ_CHECK((!options.serial && !options.since) || command->name == "journal");
    FUZZ_CHECK(!options.since || cli::IsJournalDate(*options.since));
}

}  // namespace
}  // namespace stratigon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace stratigon;
    using namespace stratigon::fuzz;

    std::vector<std::string> words = SplitArguments(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    std::string error;
    const auto options = cli::ParseCommandLine(static_cast<int>(words.size()), argv.data(), error);
    if (options)
        CheckTaken(*options);
    else
        FUZZ_CHECK(!error.empty());
    return 0;
}
