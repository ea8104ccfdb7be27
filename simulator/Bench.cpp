#include "simulator/Bench.h"

#include "simulator/ResourceName.h"
#include "simulator/StateFileLock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace stratigon::sim {
namespace {

// Far longer than any save takes; past it the holder is taken to be stuck, and saving without
// the lock beats hanging the program that made the change.
constexpr std::chrono::milliseconds kLockPatience{5000};

}  // namespace

Bench::Bench(BenchDescription description, StateStore store)
    : faults_(description.faults), store_(std::move(store))
{
    StateStore::States saved;
    {
        // Windows cannot rename over a file another process is reading, so reading takes the
        // lock too; without a state file there is nothing to read, and a bench that is only
        // looked at leaves no lock file behind. Reading needs no report: saving gives one.
        std::error_code ignored;
        const bool stateExists = std::filesystem::exists(store_.Path(), ignored);
        const StateFileLock lock(stateExists ? store_.LockPath() : std::filesystem::path(), kLockPatience);
        saved = store_.Load();
    }
    instruments_.reserve(description.modules.size());
    for (auto& module : description.modules) {
        instruments_.emplace_back(std::move(module));
        if (const auto state = saved.find(instruments_.back().Resource()); state != saved.end()) {
            instruments_.back().RestoreState(state->second);
        }
    }
}

std::optional<std::size_t> Bench::Find(std::string_view resource) const
{
    auto found = std::find_if(instruments_.begin(), instruments_.end(), [resource](const Instrument& i) {
        return ResourceName::SameText(i.Resource(), resource);
    });
    ResourceName wanted;
    if (found == instruments_.end() && ResourceName::Parse(resource, wanted) == VI_SUCCESS) {
        found = std::find_if(instruments_.begin(), instruments_.end(), [&wanted](const Instrument& i) {
            ResourceName name;
            return ResourceName::Parse(i.Resource(), name) == VI_SUCCESS && name.canonical == wanted.canonical;
        });
    }
    if (found == instruments_.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - instruments_.begin());
}

bool Bench::Persist(const Instrument& changed)
{
    const StateFileLock lock(store_.LockPath(), kLockPatience);
    StateStore::States states = store_.Load();
    states[changed.Resource()] = changed.State();
    const std::string saveProblem = store_.Save(states, lock.Held());
    if (!lock.Problem().empty()) {
        Report(lock.Problem() + (saveProblem.empty() ? "; saved without the lock" : "; " + saveProblem));
    } else {
        Report(saveProblem);
    }
    return saveProblem.empty();
}

// Once per kind of trouble: a program making many changes must not flood stderr.
void Bench::Report(const std::string& problem)
{
    if (!problem.empty() && problem != lastSaveProblem_) {
        std::fprintf(stderr, "Simulated bench state: %s\n", problem.c_str());
    }
    lastSaveProblem_ = problem;
}

}  // namespace stratigon::sim
