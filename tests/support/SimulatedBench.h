// A module object scanned on the simulated bench linked into the test program: the bench is
// given as bench-file JSON, the waits are recorded, and messages for the user are recorded.
#pragma once

#include <memory>
#include <string>

#include "instrument/VisaFunctions.h"
#include "module/CModule.h"
#include "support/Recorders.h"

namespace stratigon::test {

class FixedTestClock final : public IClock {
public:
    std::int64_t SecondsSince1970() override { return 1700000000; }
};

class SequenceRandom final : public IRandomSource {
public:
    int Draw() override { return (m_next += 1237) % (kMaxValue + 1); }

private:
    int m_next = 0;
};

class SimulatedBench {
public:
    // `statePath` empty: changes last only as long as the bench is loaded. The module's
    // messages go to `messages`, or to `sink` when none is given.
    explicit SimulatedBench(const std::string& benchText, const std::string& statePath = {},
                            IMessageSink* messages = nullptr);
    ~SimulatedBench();
    SimulatedBench(const SimulatedBench&) = delete;
    SimulatedBench& operator=(const SimulatedBench&) = delete;

    // The simulator's exported functions as the program's function table.
    static const VisaFunctions& Functions();

    CModule& Module() { return *m_module; }
    bool Scanned() const { return m_scanned; }
    ViSession SessionAt(int row) const { return m_module->GetDevice(row).session; }

    RecordingSink sink;
    RecordingSleeper sleeper;
    RecordingProgress progress;

private:
    FixedTestClock m_clock;
    SequenceRandom m_random;
    std::unique_ptr<CModule> m_module;
    bool m_scanned = false;
};

}  // namespace stratigon::test
