#include "catalogue/ModuleBench.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

namespace stratigon::test {

namespace {

ModuleBench* g_bench = nullptr;

ViStatus VISA_CALL BenchWrite(ViSession vi, ViConstBuf buffer, ViUInt32 count, ViUInt32* written)
{
    *written = count;
    return g_bench->Write(vi, std::string(reinterpret_cast<const char*>(buffer), count));
}

ViStatus VISA_CALL BenchRead(ViSession vi, ViPBuf buffer, ViUInt32 count, ViUInt32* received)
{
    return g_bench->Read(vi, buffer, count, received);
}

std::string Answer(const BenchModule& m, const std::string& query)
{
    const std::map<std::string, std::string> answers = {
        {"*IDN?", m.idn},          {"SYST:CONF:WIDT?", "136"},      {"SYST:CONF:DEPT?", m.depth},
        {"SYST:CONF:OPT?", m.depth}, {"SYST:CONF:SPE?", m.speedMhz}, {"SYST:CONF:TICL:HRES?", "125"},
        {"SOUR:CLOC:PER?", "2.5E-9"}, {"SYST:ERR?", m.error ? "-221,\"Settings conflict\"" : "0,\"No error\""},
    };
    const auto found = answers.find(query);
    return found == answers.end() ? std::string() : found->second + "\n";
}

void Apply(BenchModule& m, const std::string& command)
{
    m.commands.push_back(command);
    const std::string header = command.substr(0, command.find(' '));
    const std::string argument = header.size() < command.size() ? command.substr(header.size() + 1) : std::string();
    if (m.refused.count(header) != 0)
        m.error = true;
    else if (header == "SYST:CONF:SPE")
        m.pendingSpeed = argument;
    else if (header == "SYST:CONF:DEPT" || header == "SYST:CONF:OPT")
        m.pendingDepth = argument;
    else if (header == "*RST") {
        m.depth = m.pendingDepth.empty() ? m.depth : m.pendingDepth;
        m.speedMhz = m.pendingSpeed.empty() ? m.speedMhz : m.pendingSpeed;
        m.pendingDepth.clear();
        m.pendingSpeed.clear();
    }
}

}  // namespace

ModuleBench::ModuleBench(std::vector<BenchModule> modules) : m_modules(std::move(modules))
{
    if (g_bench != nullptr)
        throw std::logic_error("only one ModuleBench at a time");
    g_bench = this;
    for (std::size_t i = 0; i < m_modules.size(); ++i) {
        const auto address = static_cast<ViUInt16>(8 * (i + 1));
        m_visa.resources.push_back({"VXI0::" + std::to_string(address) + "::INSTR", 0, address, static_cast<ViUInt16>(i + 1)});
    }
    m_functions = m_visa.Functions();
    m_functions.viWrite = &BenchWrite;
    m_functions.viRead = &BenchRead;
    m_module = std::make_unique<CModule>(m_functions, sink, m_sleeper, m_clock, m_random);
    if (!m_module->Scan(m_progress))
        throw std::runtime_error("the bench did not scan");
}

ModuleBench::~ModuleBench()
{
    m_module.reset();
    g_bench = nullptr;
}

BenchModule* ModuleBench::ModuleOf(ViSession vi)
{
    const std::size_t index = vi - FakeVisa::kFirstSession;
    return index < m_modules.size() ? &m_modules[index] : nullptr;
}

ViStatus ModuleBench::Write(ViSession vi, const std::string& text)
{
    BenchModule* module = ModuleOf(vi);
    if (module == nullptr)
        return VI_ERROR_INV_OBJECT;
    module->answer = text.back() == '?' ? Answer(*module, text) : std::string();
    if (text == "SYST:ERR?")
        module->error = false;
    else if (text.back() != '?')
        Apply(*module, text);
    return VI_SUCCESS;
}

ViStatus ModuleBench::Read(ViSession vi, ViPBuf buffer, ViUInt32 count, ViUInt32* received)
{
    BenchModule* module = ModuleOf(vi);
    if (module == nullptr || module->answer.empty())
        return VI_ERROR_TMO;
    const std::size_t copied = std::min<std::size_t>(module->answer.size(), count);
    std::memcpy(buffer, module->answer.data(), copied);
    *received = static_cast<ViUInt32>(copied);
    module->answer.clear();
    return VI_SUCCESS;
}

}  // namespace stratigon::test
