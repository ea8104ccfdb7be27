// The state file of a bench: the module states by resource name, read when the bench is
// loaded and rewritten whole, atomically, after every change, so a later process sees them.
#pragma once

#include "simulator/ModuleState.h"

#include <filesystem>
#include <map>
#include <string>

namespace stratigon::sim {

class StateStore {
public:
    using States = std::map<std::string, ModuleState>;

    // No path: the bench forgets its changes with the process.
    StateStore() = default;
    explicit StateStore(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }
    // The file whose lock serialises the processes that read and rewrite this state file
    // (empty when there is no state file). It stays beside the state file, empty.
    std::filesystem::path LockPath() const;
    // A missing, unreadable or malformed file reads as no saved state: the bench starts fresh.
    States Load() const;
    // Writes a temporary file beside the target and renames it over the target, so a reader
    // (or a writer killed half-way) never leaves half a file. Under the lock of LockPath() the
    // temporary file has one fixed name, so killed writers leave at most that one file behind
    // and the next save reuses it; without the lock each save uses a name of its own, as two
    // writers may then be at it at once. Returns why it failed, or an empty text.
    std::string Save(const States& states, bool holdingLock) const;

private:
    std::filesystem::path path_;
};

}  // namespace stratigon::sim
