// What the module tests share: a fixed clock, a scripted random source, a one-module scanned
// bench on the scripted VISA library, and a printable snapshot of the module record.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "module/CModule.h"
#include "support/FakeVisa.h"
#include "support/Recorders.h"

namespace stratigon::test {

class FixedClock final : public IClock {
public:
    std::int64_t SecondsSince1970() override { return seconds; }
    std::int64_t seconds = 1700000000;
};

class ScriptedRandom final : public IRandomSource {
public:
    int Draw() override
    {
        ++draws;
        if (values.empty())
            return 0;
        const int value = values.front();
        values.pop_front();
        return value;
    }
    std::deque<int> values;
    int draws = 0;
};

// The eight texts, in the order the main dialog and the report show them.
struct Record {
    std::string productName, serialNumber, uniqueId, channels, stateSpeed, timingSpeed, memoryDepth, firmware;
    bool operator==(const Record&) const = default;
};

inline Record RecordOf(const CModule& module)
{
    return {module.GetProductName(), module.GetSerialNumber(), module.GetUniqueId(), module.GetChannels(),
            module.GetStateSpeed(), module.GetTimingSpeed(), module.GetMemoryDepth(), module.GetFirmwareVersion()};
}

inline std::ostream& operator<<(std::ostream& out, const Record& r)
{
    return out << "{name '" << r.productName << "', serial '" << r.serialNumber << "', id '" << r.uniqueId
               << "', channels '" << r.channels << "', state '" << r.stateSpeed << "', timing '" << r.timingSpeed
               << "', depth '" << r.memoryDepth << "', firmware '" << r.firmware << "'}";
}

inline const std::string kAnalyzerIdn = "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1\n";
inline const std::string kPatternGeneratorIdn = "QUORVALIS,KVX7PG2,C100200,FW:2.0.5\n";
inline const std::string kClear = "0,\"No error\"\n";
inline const std::string kRefused = "-221,\"Settings conflict\"\n";

// The answers of one analyzer readout, identity first.
inline std::vector<std::string> AnalyzerAnswers(const std::string& idn = kAnalyzerIdn)
{
    return {idn, "136\n", "65536\n", "100\n", "125\n", "2.5E-9\n"};
}

inline std::vector<std::string> Joined(std::vector<std::string> first, const std::vector<std::string>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// One module scanned into the device table of a module object on the scripted library.
class ModuleTest : public ::testing::Test {
protected:
    static constexpr ViSession kSession = FakeVisa::kFirstSession;

    ModuleTest()
    {
        visa.resources = {FakeResource{"VXI0::24::INSTR"}};
        EXPECT_TRUE(module.Scan(progress));
    }

    int ReadWith(const std::vector<std::string>& answers)
    {
        visa.answers.assign(answers.begin(), answers.end());
        visa.writes.clear();
        return module.ReadModule(kSession);
    }

    FakeVisa visa;
    RecordingSink sink;
    RecordingSleeper sleeper;
    RecordingProgress progress;
    FixedClock clock;
    ScriptedRandom random;
    CModule module{visa.Functions(), sink, sleeper, clock, random};
};

}  // namespace stratigon::test
