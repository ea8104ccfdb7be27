// A loaded simulated bench: its instruments in resource-manager order with their saved state
// applied, the resource manager's own faults, and the state file its changes go to.
#pragma once

#include "simulator/BenchDescription.h"
#include "simulator/Instrument.h"
#include "simulator/StateStore.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stratigon::sim {

class Bench {
public:
    Bench(BenchDescription description, StateStore store);

    std::size_t Size() const { return instruments_.size(); }
    Instrument& At(std::size_t index) { return instruments_.at(index); }
    // Resource names compare without regard to case, as VISA resource names do, and in any
    // of the forms VISA allows for one resource ("vxi::24" names VXI0::24::INSTR).
    std::optional<std::size_t> Find(std::string_view resource) const;
    const BenchDescription::Faults& Faults() const { return faults_; }
    // Saves the module's state into the state file as it is now on disk, under the state
    // file's lock, so that processes changing different modules of one bench at the same
    // moment keep each other's changes. False when the change could not be saved; the
    // reason is reported on stderr once, never thrown: a read-only folder must not break
    // the program.
    bool Persist(const Instrument& changed);

private:
    void Report(const std::string& problem);

    std::vector<Instrument> instruments_;
    BenchDescription::Faults faults_;
    StateStore store_;
    std::string lastSaveProblem_;
};

}  // namespace stratigon::sim
