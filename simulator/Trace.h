// The record of every message written to and read from the simulated instruments, one line
// each, kept in memory for tests and appended to a file for tests of other processes.
#pragma once

#include "instrument/VisaTypes.h"

#include <cstddef>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace stratigon::sim {

class Trace {
public:
    // A long-running benchmark must not grow the process without bound; older lines go.
    static constexpr std::size_t kMemoryLines = 100000;

    // Empty: memory only. Lines are appended, never truncated, so several processes can
    // share one file.
    void SetFile(const std::filesystem::path& path);
    // "W <resource> <text>"; a failed write adds " !<status>".
    void RecordWrite(std::string_view resource, std::string_view bytes, ViStatus status);
    // "R <resource> <bytes>", or "R <resource> !<status>" when the read failed.
    void RecordRead(std::string_view resource, std::string_view bytes, ViStatus status);
    std::vector<std::string> Lines() const;
    void Clear();

    // Printable ASCII stays, a trailing line feed reads "\n", every other byte "\xNN".
    static std::string Escape(std::string_view bytes);
    static std::string HexStatus(ViStatus status);

private:
    void Append(std::string line);

    std::deque<std::string> lines_;
    std::filesystem::path filePath_;
    std::ofstream file_;
};

}  // namespace stratigon::sim
