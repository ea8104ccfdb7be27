// Lets tests and tools choose the simulated bench of this process and see the messages its
// instruments exchanged, without going through environment variables.
#pragma once

#include <string>
#include <vector>

namespace stratigon::sim {

// How the next viOpenDefaultRM loads its bench. benchText wins over benchPath; with both
// empty the built-in default bench is used. statePath empty means: benchPath + ".state.json",
// for the built-in bench "<temp folder>/stratigon-default-bench.state.json", and for
// benchText without a benchPath no state file at all (changes last as long as the process).
// tracePath empty means the trace is kept in memory only.
struct BenchOptions {
    std::string benchPath{};
    std::string benchText{};
    std::string statePath{};
    std::string tracePath{};
};

// Closes every session and find list, forgets the loaded bench (unsaved pending settings
// go with it) and makes the next viOpenDefaultRM load the bench these options name.
void Configure(const BenchOptions& options);
// The same, but the next load follows STRATIGON_SIM_BENCH, STRATIGON_SIM_STATE and
// STRATIGON_SIM_TRACE, as a process that never called Configure does.
void ConfigureFromEnvironment();

// One line per viWrite ("W <resource> <text>", a failed one ending in " !<status>") and per
// viRead ("R <resource> <bytes>", a failed one "R <resource> !<status>"); statuses are eight
// lower-case hex digits, bytes outside printable ASCII and the backslash read "\xNN", and a
// final line feed reads "\n".
std::vector<std::string> TraceLines();
void ClearTrace();

// The built-in default bench as bench-file JSON, for tests and documentation.
std::string DefaultBenchText();

}  // namespace stratigon::sim
