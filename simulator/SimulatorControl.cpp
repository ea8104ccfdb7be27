#include "simulator/SimulatorControl.h"

#include "simulator/DefaultBench.h"
#include "simulator/Simulator.h"

#include <mutex>

namespace stratigon::sim {

void Configure(const BenchOptions& options)
{
    Simulator& simulator = Simulator::Instance();
    const std::lock_guard<std::mutex> hold(simulator.Mutex());
    simulator.Configure(options);
}

void ConfigureFromEnvironment()
{
    Simulator& simulator = Simulator::Instance();
    const std::lock_guard<std::mutex> hold(simulator.Mutex());
    simulator.Configure(std::nullopt);
}

std::vector<std::string> TraceLines()
{
    Simulator& simulator = Simulator::Instance();
    const std::lock_guard<std::mutex> hold(simulator.Mutex());
    return simulator.TraceLog().Lines();
}

std::string DefaultBenchText()
{
    return DefaultBench::Text();
}

void ClearTrace()
{
    Simulator& simulator = Simulator::Instance();
    const std::lock_guard<std::mutex> hold(simulator.Mutex());
    simulator.TraceLog().Clear();
}

}  // namespace stratigon::sim
