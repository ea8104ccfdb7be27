// Simulated modules on the scripted VISA library that answer by what they are sent: identity
// and configuration queries, the error queue, and configuration commands applied at reset.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "module/CModule.h"
#include "support/FakeVisa.h"
#include "support/Recorders.h"

namespace stratigon::test {

struct BenchModule {
    std::string idn;
    std::string depth;     // sample count, or the memory option of a pattern generator
    std::string speedMhz;
    std::set<std::string> refused;      // command headers the module refuses
    std::vector<std::string> commands;  // record: everything sent that is not a query
    // Until "*RST" applies them.
    std::string pendingDepth, pendingSpeed;
    std::string answer;
    bool error = false;
};

inline BenchModule Analyzer(const std::string& product, const std::string& depth, const std::string& speedMhz)
{
    BenchModule module;
    module.idn = "QUORVALIS," + product + ",B012345,FVER:4.2.1";
    module.depth = depth;
    module.speedMhz = speedMhz;
    return module;
}

inline BenchModule PatternGenerator(const std::string& option)
{
    BenchModule module;
    module.idn = "QUORVALIS,KVX7PG2,C100200,FW:2.0.5";
    module.depth = option;
    return module;
}

class FixedClock final : public IClock {
public:
    std::int64_t SecondsSince1970() override { return 1700000000; }
};

class CountingRandom final : public IRandomSource {
public:
    int Draw() override { return ++m_next % (kMaxValue + 1); }

private:
    int m_next = 0;
};

// The modules are scanned into the device table of a module object at construction. Only
// one bench at a time, like the FakeVisa it builds on.
class ModuleBench {
public:
    explicit ModuleBench(std::vector<BenchModule> modules);
    ~ModuleBench();
    ModuleBench(const ModuleBench&) = delete;
    ModuleBench& operator=(const ModuleBench&) = delete;

    static ViSession SessionOf(std::size_t index) { return FakeVisa::SessionOf(index); }
    // Reads module `index` into the module record; ReadModule's code.
    int ReadModule(std::size_t index) { return m_module->ReadModule(SessionOf(index)); }
    BenchModule& Module(std::size_t index) { return m_modules.at(index); }
    CModule& module() { return *m_module; }

    RecordingSink sink;

    // Called by the C functions.
    ViStatus Write(ViSession vi, const std::string& text);
    ViStatus Read(ViSession vi, ViPBuf buffer, ViUInt32 count, ViUInt32* received);

private:
    BenchModule* ModuleOf(ViSession vi);

    FakeVisa m_visa;
    VisaFunctions m_functions;
    std::vector<BenchModule> m_modules;
    RecordingSleeper m_sleeper;
    RecordingProgress m_progress;
    FixedClock m_clock;
    CountingRandom m_random;
    std::unique_ptr<CModule> m_module;
};

}  // namespace stratigon::test
