#include "support/SimulatedBench.h"

#include "simulator/SimulatorControl.h"
#include "simulator/VisaExports.h"

namespace stratigon::test {

const VisaFunctions& SimulatedBench::Functions()
{
    static const VisaFunctions table{&viOpenDefaultRM, &viFindRsrc, &viFindNext, &viOpen,
                                     &viClose, &viGetAttribute, &viLock, &viUnlock,
                                     &viRead, &viWrite, &viStatusDesc};
    return table;
}

SimulatedBench::SimulatedBench(const std::string& benchText, const std::string& statePath, IMessageSink* messages)
{
    sim::Configure(sim::BenchOptions{{}, benchText, statePath, {}});
    m_module = std::make_unique<CModule>(Functions(), messages != nullptr ? *messages : sink, sleeper, m_clock, m_random);
    m_scanned = m_module->Scan(progress);
    sim::ClearTrace();
}

SimulatedBench::~SimulatedBench()
{
    m_module->Close();
    m_module.reset();
    // An empty bench of no file, not the built-in one: whatever runs next in this process
    // must not change the built-in bench's state file, which all runs share.
    sim::Configure(sim::BenchOptions{.benchText = "{}"});
}

}  // namespace stratigon::test
