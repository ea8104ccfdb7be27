// The error queue of one simulated module: commands push SCPI errors, "SYST:ERR?" takes them
// out one at a time in the order they happened, "*CLS" empties it.
#pragma once

#include "simulator/ScpiError.h"

#include <cstddef>
#include <deque>
#include <string>

namespace stratigon::sim {

class ErrorQueue {
public:
    // A full queue keeps its oldest entries and marks the loss in its last one, as
    // instruments do, so a runaway test cannot grow it without bound.
    static constexpr std::size_t kCapacity = 30;

    void Push(ScpiError error);
    // The answer to "SYST:ERR?": number, comma, quoted text; `0,"No error"` when empty.
    std::string PopEntry();
    void Clear();
    std::size_t Size() const;

private:
    std::deque<ScpiError> entries_;
};

}  // namespace stratigon::sim
