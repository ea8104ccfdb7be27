// Module records read from modules of the simulated bench, described in a few words each:
// what the module calls itself, its depth and speed, and the commands it refuses.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "module/CModule.h"
#include "support/SimulatedBench.h"

namespace stratigon::test {

struct BenchModule {
    std::string idn;
    std::string depth;     // sample count, or the memory option of a pattern generator
    std::string speedMhz;  // empty for a pattern generator
    std::set<std::string> refused;  // command headers the module refuses
};

inline BenchModule Analyzer(const std::string& product, const std::string& depth, const std::string& speedMhz)
{
    return BenchModule{"QUORVALIS," + product + ",B012345,FVER:4.2.1", depth, speedMhz, {}};
}

inline BenchModule PatternGenerator(const std::string& option)
{
    return BenchModule{"QUORVALIS,KVX7PG2,C100200,FW:2.0.5", option, {}, {}};
}

// The modules sit in the mainframe in the order given and are scanned at construction.
class ModuleBench {
public:
    explicit ModuleBench(const std::vector<BenchModule>& modules);

    ViSession SessionOf(std::size_t index) const { return m_bench.SessionAt(static_cast<int>(index)); }
    // Reads module `index` into the module record; ReadModule's code.
    int ReadModule(std::size_t index) { return m_bench.Module().ReadModule(SessionOf(index)); }
    CModule& module() { return m_bench.Module(); }
    // Every command module `index` was sent since the scan, queries left out.
    std::vector<std::string> CommandsSentTo(std::size_t index) const;

private:
    SimulatedBench m_bench;

public:
    RecordingSink& sink = m_bench.sink;
};

}  // namespace stratigon::test
