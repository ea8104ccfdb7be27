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
    // A missing, unreadable or malformed file reads as no saved state: the bench starts fresh.
    States Load() const;
    // Writes a temporary file beside the target and renames it over the target, so a reader
    // (or a crash) never sees half a file. Returns why it failed, or an empty text.
    std::string Save(const States& states) const;

private:
    std::filesystem::path path_;
};

}  // namespace stratigon::sim
