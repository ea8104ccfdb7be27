// Runs the stratigon-cli program as a separate process, as a user or a script would, and
// captures its exit code and its standard output and error apart.
#pragma once

#include <string>
#include <vector>

namespace stratigon::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `workFolder` receives the captured streams; the program runs with it as working folder.
CliResult RunCli(const std::vector<std::string>& arguments, const std::string& workFolder);
// The same for a copy of the tool elsewhere.
CliResult RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& workFolder);

}  // namespace stratigon::test
