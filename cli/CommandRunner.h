// One run of stratigon-cli: loads the VISA library, starts up as the program does (the
// wait, the scan), runs the command on the module object and prints what it found.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "catalogue/ModuleLookup.h"
#include "cli/CliOptions.h"
#include "cli/SkippedWaits.h"
#include "cli/StderrSink.h"
#include "instrument/CVisaLibrary.h"
#include "module/CModule.h"
#include "module/DeviceRandomSource.h"
#include "module/SystemClock.h"

namespace stratigon::cli {

class CommandRunner {
public:
    explicit CommandRunner(const CliOptions& options);
    ~CommandRunner();
    CommandRunner(const CommandRunner&) = delete;
    CommandRunner& operator=(const CommandRunner&) = delete;

    // The exit code of the command.
    int Run();

private:
    bool StartUp();
    int Scan();
    int Show();
    int Upgrades();
    int Report();
    int Install();
    int OrderList();
    int Journal();

    // The module the command's first argument names by unique ID or serial number.
    FoundModule FindNamedModule();
    std::string ScanFailureReason() const;
    // The line of the possible upgrade that --upgrade names; its failure result otherwise.
    std::uint32_t SelectedUpgradeLine(std::string& line);

    // Ends the command with `reason` as the last line on standard error and, for --json, an
    // object with the result, the reason and `details` on standard output.
    int Fail(std::uint32_t result, const std::string& reason,
             nlohmann::ordered_json details = nlohmann::ordered_json::object()) const;
    int Fail(std::uint32_t result) const;
    void Print(const std::string& text) const;
    void PrintBytes(const std::string& bytes) const;
    void Print(const nlohmann::ordered_json& value) const;

    const CliOptions& m_options;
    CVisaLibrary m_library;
    StderrSink m_messages;
    ThreadSleeper m_realWaits;
    SkippedWaits m_noWaits;
    SystemClock m_clock;
    DeviceRandomSource m_random;
    std::unique_ptr<CModule> m_module;
};

}  // namespace stratigon::cli
