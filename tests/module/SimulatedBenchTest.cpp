#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>

#include "instrument/SharedBuffers.h"
#include "module/DeviceRandomSource.h"
#include "module/ModuleCodes.h"
#include "simulator/SimulatorControl.h"
#include "simulator/VisaExports.h"
#include "tests/module/ModuleTestSupport.h"

namespace stratigon::test {
namespace {

namespace fs = std::filesystem;

const VisaFunctions kSimulator = {&viOpenDefaultRM, &viFindRsrc, &viFindNext, &viOpen, &viClose, &viGetAttribute,
                                  &viLock, &viUnlock, &viRead, &viWrite, &viStatusDesc};

std::string Module(int slot, const std::string& fields)
{
    return R"({"interface": 0, "slot": )" + std::to_string(slot) + R"(, "logical_address": )" +
           std::to_string(slot * 8) + ", " + fields + "}";
}

std::string Analyzer(int slot, const std::string& idn, const std::string& more = "")
{
    return Module(slot, R"("kind": "analyzer", "idn": ")" + idn + "\"" + more);
}

const std::vector<std::string> kAnalyzerQueries = {"*IDN?", "SYST:CONF:WIDT?", "SYST:CONF:DEPT?", "SYST:CONF:SPE?",
                                                   "SYST:CONF:TICL:HRES?", "SOUR:CLOC:PER?"};
const std::vector<std::string> kPeeks = {"PEEKL? #H5000048", "PEEKW? #H500004c"};
const std::string kWithoutSerial = "QUORVALIS,KVX5L1,B000000,FVER:3.1";

class SimulatedBenchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("stratigon-module-" + std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override
    {
        module.reset();
        sim::Configure({.benchText = "{}"});  // not the built-in bench, whose state is shared
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    // A fresh module object on the bench (its state file kept in this test's folder), scanned.
    void UseBench(const std::vector<std::string>& modules)
    {
        module.reset();
        std::string text = R"({"modules": [)";
        for (const std::string& m : modules)
            text += (&m == &modules.front() ? "" : ", ") + m;
        sim::Configure({"", text + "]}", (m_folder / "state.json").string(), ""});
        module = std::make_unique<CModule>(kSimulator, sink, sleeper, clock, *randomSource);
        ASSERT_TRUE(module->Scan(progress)) << (sink.messages.empty() ? "" : sink.messages.back());
        sim::ClearTrace();
    }

    int Read(int row = 0) { return module->ReadModule(module->GetDevice(row).session); }

    // The texts written to the modules since the last look, in order.
    std::vector<std::string> Writes()
    {
        std::vector<std::string> writes;
        for (const std::string& line : sim::TraceLines()) {
            const std::size_t text = line.find(' ', 2);
            if (line.starts_with("W ") && text != std::string::npos)
                writes.push_back(line.substr(text + 1));
        }
        sim::ClearTrace();
        return writes;
    }

    RecordingSink sink;
    RecordingSleeper sleeper;
    RecordingProgress progress;
    FixedClock clock;
    ScriptedRandom random;
    IRandomSource* randomSource = &random;
    std::unique_ptr<CModule> module;

private:
    fs::path m_folder;
};

TEST_F(SimulatedBenchTest, EachProductTypeIsReadWithItsOwnExchanges)
{
    random.values = {0x1234, 0x5678};
    const std::vector<std::string> unnumbered = Joined(
        Joined(kAnalyzerQueries, kPeeks), {"POKEL #H5000048, #Hacf46", "SYST:ERR?", "POKEW #H500004c, #H125", "SYST:ERR?"});
    UseBench({Analyzer(1, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1"), Analyzer(2, "QUORVALIS,KVX5L1,B100200,FVER:3.1"),
              Analyzer(3, kWithoutSerial), Analyzer(4, "QUORVALIS,KVX9XL64A,S999999,FVER:5.0"),
              Module(5, R"("kind": "pattern-generator")")});
    struct Case {
        const char* name;
        int row;
        std::vector<std::string> writes;
        const char* uniqueId;
    };
    const Case cases[] = {
        {"type 0", 0, kAnalyzerQueries, "13:18:C1:00:30:39"},
        {"type 1 with serial", 1, kAnalyzerQueries, "33:18:A0:01:87:68"},
        {"type 1 without serial, first readout", 2, unnumbered, "33:18:A0:FA:CF:46"},
        {"type 1 without serial, later readout", 2, Joined(kAnalyzerQueries, kPeeks), "33:18:A0:FA:CF:46"},
        {"type 2", 3, kAnalyzerQueries, "56:26:36:7F:42:3F"},
        {"pattern generator", 4, {"*IDN?", "SYST:CONF:OPT?"}, "74:23:B2:31:87:68"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.row), ModuleCode::Success) << c.name;
        EXPECT_EQ(Writes(), c.writes) << c.name << ": " << c.writes.size() << " writes expected";
        EXPECT_EQ(module->GetUniqueId(), c.uniqueId) << c.name;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SimulatedBenchTest, AStoredNumberOutlivesTheProgramRun)
{
    random.values = {0x1234, 0x5678};
    UseBench({Analyzer(3, kWithoutSerial)});
    ASSERT_EQ(Read(), ModuleCode::Success);
    const std::string first = module->GetUniqueId();

    random.values = {0x7777, 0x7777};
    UseBench({Analyzer(3, kWithoutSerial)});
    ASSERT_EQ(Read(), ModuleCode::Success);
    EXPECT_EQ(module->GetUniqueId(), first);
    EXPECT_EQ(Writes(), Joined(kAnalyzerQueries, kPeeks)) << "a number read back is not written again";
}

TEST_F(SimulatedBenchTest, ModulesNumberedTogetherGetDifferentNumbers)
{
    DeviceRandomSource device;
    randomSource = &device;
    UseBench({Analyzer(3, kWithoutSerial), Analyzer(4, kWithoutSerial)});
    ASSERT_EQ(Read(0), ModuleCode::Success);
    const std::string first = module->GetUniqueId();
    ASSERT_EQ(Read(1), ModuleCode::Success);
    EXPECT_NE(module->GetUniqueId(), first);
}

TEST_F(SimulatedBenchTest, AChangeIsAppliedAtTheResetAndReadBack)
{
    clock.seconds = 1767225600;
    UseBench({Analyzer(3, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1")});
    ASSERT_EQ(Read(), ModuleCode::Success);
    ASSERT_EQ(module->GetMemoryDepth(), "64K");
    Writes();
    EXPECT_EQ(module->ChangeConfiguration(module->GetDevice(0).session, "1M", "200 MHz"), 104);
    const std::vector<std::string> change = {"*CLS", "SYST:ERR?", "SYST:CONF:SPE 200", "SYST:ERR?",
                                             "SYST:CONF:DEPT 1048576", "SYST:ERR?", "SYST:PASS:INST:UPD 1767225600",
                                             "SYST:ERR?", "*RST", "SYST:ERR?"};
    EXPECT_EQ(Writes(), Joined(change, kAnalyzerQueries));
    EXPECT_EQ(module->GetMemoryDepth(), "1M");
    EXPECT_EQ(module->GetStateSpeed(), "200 MHz");

    UseBench({Analyzer(3, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1")});
    ASSERT_EQ(Read(), ModuleCode::Success);
    EXPECT_EQ(module->GetMemoryDepth(), "1M") << "the change lasts beyond the run";
}

TEST_F(SimulatedBenchTest, ARefusedDepthIsReportedWithTheRequestedName)
{
    UseBench({Analyzer(3, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1", R"(, "faults": {"refuse": ["SYST:CONF:DEPT"]})")});
    ASSERT_EQ(Read(), ModuleCode::Success);
    EXPECT_EQ(module->ChangeConfiguration(module->GetDevice(0).session, "4M", ""), 105);
    EXPECT_EQ(sink.messages, std::vector<std::string>{"Error: Unable to change the memory depth to 4M.\nUpgrade failed."});
    EXPECT_EQ(module->GetMemoryDepth(), "64K");
}

TEST_F(SimulatedBenchTest, CannedAnswersOfAnyShapeStayInsideTheBuffers)
{
    std::mt19937 bytes(7);
    const std::size_t lengths[] = {0, 255, 256, 10000};
    const char* queries[] = {"*IDN?", "SYST:CONF:WIDT?", "SYST:CONF:DEPT?", "SYST:CONF:TICL:HRES?", "PEEKL? #H5000048"};
    for (const std::size_t length : lengths) {
        for (const char* query : queries) {
            std::string answer = "KVX5L1,B000000,FVER:";
            for (std::size_t i = 0; i < length; ++i)
                answer += "\\u00" + std::string(1, "0123456789abcdef"[bytes() % 16]) + "0123456789abcdef"[bytes() % 16];
            UseBench({Analyzer(3, kWithoutSerial, R"(, "answers": {")" + std::string(query) + R"(": ")" + answer + "\"}")});
            const int code = Read();
            EXPECT_TRUE(code == 112 || code == 114 || code == 108 || code == 117 || code == 120)
                << query << " answered with " << length << " bytes gave " << code;
            EXPECT_LT(module->GetFirmwareVersion().size(), kBufferSize);
        }
    }
}

}  // namespace
}  // namespace stratigon::test
