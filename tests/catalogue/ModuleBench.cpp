#include "catalogue/ModuleBench.h"

#include <gtest/gtest.h>

#include "simulator/SimulatorControl.h"

namespace stratigon::test {

namespace {

std::string ResourceOf(std::size_t index) { return "VXI0::" + std::to_string(8 * (index + 1)) + "::INSTR"; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Describe(const BenchModule& module, std::size_t index)
{
    const bool patternGenerator = module.speedMhz.empty();
    std::string text = "{ \"interface\": 0, \"slot\": " + std::to_string(index + 1) +
                       ", \"logical_address\": " + std::to_string(8 * (index + 1)) +
                       ", \"resource\": " + Quoted(ResourceOf(index)) + ", \"idn\": " + Quoted(module.idn);
    if (patternGenerator)
        text += ", \"kind\": \"pattern-generator\", \"model_code\": 1985, \"pattern_option\": " + Quoted(module.depth);
    else
        text += ", \"kind\": \"analyzer\", \"model_code\": 1025, \"depth\": " + module.depth +
                ", \"state_speed_mhz\": " + module.speedMhz;
    std::string refused;
    for (const std::string& header : module.refused)
        refused += (refused.empty() ? "" : ", ") + Quoted(header);
    return text + ", \"faults\": { \"refuse\": [" + refused + "] } }";
}

std::string BenchText(const std::vector<BenchModule>& modules)
{
    std::string text = "{ \"modules\": [";
    for (std::size_t i = 0; i < modules.size(); ++i)
        text += (i ? ", " : "") + Describe(modules[i], i);
    return text + "] }";
}

}  // namespace

ModuleBench::ModuleBench(const std::vector<BenchModule>& modules) : m_bench(BenchText(modules))
{
    if (!m_bench.Scanned())
        ADD_FAILURE() << "the simulated bench did not scan: " << BenchText(modules);
}

std::vector<std::string> ModuleBench::CommandsSentTo(std::size_t index) const
{
    const std::string prefix = "W " + ResourceOf(index) + " ";
    std::vector<std::string> commands;
    for (const std::string& line : sim::TraceLines()) {
        if (line.rfind(prefix, 0) != 0 || line.back() == '?')
            continue;
        commands.push_back(line.substr(prefix.size()));
    }
    return commands;
}

}  // namespace stratigon::test
