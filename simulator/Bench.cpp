#include "simulator/Bench.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace stratigon::sim {
namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

Bench::Bench(BenchDescription description, StateStore store)
    : faults_(description.faults), store_(std::move(store))
{
    const auto saved = store_.Load();
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
    const auto found = std::find_if(instruments_.begin(), instruments_.end(),
                                    [resource](const Instrument& i) { return SameName(i.Resource(), resource); });
    if (found == instruments_.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - instruments_.begin());
}

void Bench::Persist(const Instrument& changed)
{
    StateStore::States states = store_.Load();
    states[changed.Resource()] = changed.State();
    const std::string problem = store_.Save(states);
    if (!problem.empty() && problem != lastSaveProblem_) {
        std::fprintf(stderr, "Simulated bench state: %s\n", problem.c_str());
    }
    lastSaveProblem_ = problem;
}

}  // namespace stratigon::sim
