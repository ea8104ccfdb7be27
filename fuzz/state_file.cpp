// The simulator's state-file reader on arbitrary bytes. The reader takes a file, so every
// input is written to one file of this process first. What it accepts must come back the
// same after the bench writes it out and reads it in again.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz/support/FuzzCheck.h"
#include "simulator/StateStore.h"

namespace stratigon::fuzz {
namespace {

// A folder in memory where the system offers one: writing and renaming files on a disk for
// every input made the disk, not the reader, set the pace.
std::filesystem::path ScratchFolder()
{
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error))
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

constexpr std::string_view kScratchPrefix = "stratigon-fuzz-state-";

// A run that crashed never removed its files; they go once their process has gone.
void RemoveFilesOfEndedRuns(const std::filesystem::path& folder)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kScratchPrefix))
            continue;
        const long pid = std::strtol(name.c_str() + kScratchPrefix.size(), nullptr, 10);
        // Signal 0 is never delivered; it only asks whether the process is still there.
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            std::filesystem::remove(entry.path(), error);
    }
}

// The input's file and the copy's file of this process, removed when the run ends.
class ScratchFiles {
public:
    ScratchFiles()
    {
        const std::filesystem::path folder = ScratchFolder();
        RemoveFilesOfEndedRuns(folder);
        const std::string stem = std::string(kScratchPrefix) + std::to_string(::getpid());
        m_input = folder / (stem + ".json");
        m_copy = folder / (stem + "-copy.json");
    }
    ~ScratchFiles()
    {
        std::error_code ignored;
        std::filesystem::remove(m_input, ignored);
        std::filesystem::remove(m_copy, ignored);
    }

    const std::filesystem::path& Input() const { return m_input; }
    const std::filesystem::path& Copy() const { return m_copy; }

private:
    std::filesystem::path m_input;
    std::filesystem::path m_copy;
};

const ScratchFiles& Files()
{
    static const ScratchFiles files;
    return files;
}

void WriteInput(const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(Files().Input(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    FUZZ_CHECK(out.good());
}

}  // namespace
}  // namespace stratigon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace stratigon;
    using namespace stratigon::fuzz;

    WriteInput(data, size);
    const sim::StateStore::States states = sim::StateStore(Files().Input()).Load();

    // No other process writes the copy, so it is saved without the state file's lock.
    const sim::StateStore copy(Files().Copy());
    FUZZ_CHECK(copy.Save(states, false).empty());
    FUZZ_CHECK(copy.Load() == states);
    return 0;
}
