// Loading a bench: from a file, from text or from the environment; what unusable files report;
// the defaults of omitted fields; and the built-in bench that "make run" shows.
#include "SimulatorTest.h"
#include "simulator/VisaExports.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace stratigon::sim::test {
namespace {

class BenchFile : public SimulatorTest {
protected:
    std::string Description(ViStatus status)
    {
        char desc[VI_FIND_BUFLEN] = {};
        viStatusDesc(VI_NULL, status, desc);
        return desc;
    }

    struct Found {
        std::string resource;
        ViUInt16 interfaceNumber = 0;
        ViInt16 slot = 0;
        ViUInt16 modelCode = 0;
        std::string identity{};
    };

    // What a scan of the bench sees, resource by resource.
    std::vector<Found> Scan()
    {
        const ViSession rm = OpenRm();
        ViFindList list = VI_NULL;
        ViUInt32 count = 0;
        char desc[VI_FIND_BUFLEN] = {};
        std::vector<Found> found;
        for (ViStatus status = viFindRsrc(rm, "?*INSTR", &list, &count, desc); status == VI_SUCCESS;
             status = viFindNext(list, desc)) {
            Found entry{desc};
            const ViSession vi = Open(rm, desc);
            EXPECT_EQ(viGetAttribute(vi, VI_ATTR_INTF_NUM, &entry.interfaceNumber), VI_SUCCESS);
            EXPECT_EQ(viGetAttribute(vi, VI_ATTR_SLOT, &entry.slot), VI_SUCCESS);
            EXPECT_EQ(viGetAttribute(vi, VI_ATTR_MODEL_CODE, &entry.modelCode), VI_SUCCESS);
            entry.identity = Ask(vi, "*IDN?");
            found.push_back(entry);
        }
        EXPECT_EQ(found.size(), count);
        return found;
    }
};

struct UnusableCase {
    std::optional<std::string> content;  // nothing: no file at all
    const char* reason;
};

const UnusableCase kUnusable[] = {
    {std::nullopt, "the file does not exist"},
    {"", "parse error at line 1"},
    {"{ \"modules\": [\n  { \"slot\": 1 },\n  { \"slot\": }\n] }", "parse error at line 3"},
    {"[]", "the top level must be a JSON object"},
    {R"({ "modules": {} })", "modules must be an array"},
    {R"({ "modules": [ 5 ] })", "modules[0] must be an object"},
    {R"({ "modules": [ { "depth": "deep" } ] })", "modules[0].depth must be an integer"},
    {R"({ "modules": [ { "depth": 65536.5 } ] })", "modules[0].depth must be an integer"},
    {R"({ "modules": [ {}, { "async_period_s": "fast" } ] })", "modules[1].async_period_s must be a number"},
    {R"({ "modules": [ { "idn": 42 } ] })", "modules[0].idn must be a string"},
    {R"({ "modules": [ { "kind": "toaster" } ] })", "modules[0].kind must be \"analyzer\""},
    {R"({ "modules": [ { "slot": 70000 } ] })", "modules[0].slot must be between 0 and 32767"},
    {R"({ "modules": [ { "model_code": -1 } ] })", "modules[0].model_code must be between 0 and 65535"},
    {R"({ "modules": [ { "latency_ms": -5 } ] })", "modules[0].latency_ms must be between 0 and 600000"},
    {R"({ "modules": [ { "faults": [] } ] })", "modules[0].faults must be an object"},
    {R"({ "modules": [ { "faults": { "refuse": "*RST" } } ] })", "modules[0].faults.refuse must be an array"},
    {R"({ "modules": [ { "faults": { "no_answer": [ 1 ] } } ] })", "modules[0].faults.no_answer[0] must be a string"},
    {R"({ "modules": [ { "faults": { "exclusive_lock": 1 } } ] })", "modules[0].faults.exclusive_lock must be true"},
    {R"({ "modules": [ { "memory": { "5000048": 1 } } ] })", "is not a hexadecimal address"},
    {R"({ "modules": [ { "memory": { "0x5000048": -1 } } ] })", "must be between 0 and 4294967295"},
    {R"({ "modules": [ { "answers": { "*IDN?": 5 } } ] })", "modules[0].answers[\"*IDN?\"] must be a string"},
    {R"({ "modules": [ { "resource": "VXI0::8::INSTR" }, { "resource": "vxi0::8::instr" } ] })",
     "is already used by modules[0]"},
    {R"({ "modules": [], "faults": { "find_next_error": "x" } })", "faults.find_next_error must be an integer"},
    {"{ \"modules\": [ {\n  \"slot\": 3,\n    \"depht\": 262144 } ] }",
     ": line 3, column 5: modules[0].depht is no field of a bench file; did you mean depth?"},
    {R"({ "module": [ {} ] })", ": line 1, column 3: module is no field of a bench file; did you mean modules?"},
    {R"({ "modules": [ {}, { "faults": { "refuse": [], "refused": [] } } ] })",
     "column 48: modules[1].faults.refused is no field of a bench file; did you mean refuse?"},
    {R"({ "modules": [], "faults": { "open_rm_error": true } })", "did you mean open_default_rm_error?"},
};

TEST_F(BenchFile, AnUnusableBenchFailsTheResourceManagerAndSaysWhy)
{
    const std::string path = folder_.File("bench.json");
    for (const UnusableCase& c : kUnusable) {
        std::filesystem::remove(path);
        if (c.content) {
            folder_.Write("bench.json", *c.content);
        }
        Configure({.benchPath = path, .statePath = StatePath()});
        ViSession rm = 0xDEAD;
        EXPECT_EQ(Hex(viOpenDefaultRM(&rm)), Hex(VI_ERROR_SYSTEM_ERROR)) << c.reason;
        EXPECT_EQ(rm, VI_NULL) << c.reason;
        const std::string text = Description(VI_ERROR_SYSTEM_ERROR);
        EXPECT_EQ(text.rfind("Simulated bench " + path + ": ", 0), 0U) << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << "expected \"" << c.reason << "\" in: " << text;
    }
}

TEST_F(BenchFile, BenchTextThatCannotBeUsedIsNamedAsSuch)
{
    Configure({.benchText = "{ \"modules\": ["});
    ViSession rm = VI_NULL;
    EXPECT_EQ(Hex(viOpenDefaultRM(&rm)), Hex(VI_ERROR_SYSTEM_ERROR));
    const std::string text = Description(VI_ERROR_SYSTEM_ERROR);
    EXPECT_NE(text.find("(inline bench text)"), std::string::npos) << text;
    EXPECT_NE(text.find("parse error"), std::string::npos) << text;
}

TEST_F(BenchFile, ARepairedFileLoadsAtTheNextOpen)
{
    folder_.Write("bench.json", "{ broken");
    Configure({.benchPath = folder_.File("bench.json"), .statePath = StatePath()});
    ViSession rm = VI_NULL;
    ASSERT_EQ(viOpenDefaultRM(&rm), VI_ERROR_SYSTEM_ERROR);
    folder_.Write("bench.json", R"({ "modules": [ { "idn": "REPAIRED" } ] })");
    EXPECT_EQ(Ask(Open("VXI0::8::INSTR"), "*IDN?"), "REPAIRED");
    EXPECT_EQ(Description(VI_ERROR_SYSTEM_ERROR).find("Simulated bench"), std::string::npos)
        << "the old reason is gone once the bench loaded";
}

TEST_F(BenchFile, OmittedFieldsTakeTheirDefaults)
{
    UseBench(R"({ "modules": [ {}, { "kind": "pattern-generator" }, { "kind": "other", "interface": 2 },
                               { "interface": 2, "logical_address": 99 } ] })");
    const std::vector<Found> found = Scan();
    ASSERT_EQ(found.size(), 4U);
    struct Expected {
        const char* resource;
        ViUInt16 interfaceNumber;
        ViInt16 slot;
        ViUInt16 modelCode;
        const char* identity;
    };
    const Expected expected[] = {
        {"VXI0::8::INSTR", 0, 1, 1025, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1"},
        {"VXI0::16::INSTR", 0, 2, 1985, "QUORVALIS,KVX7PG2,C100200,FW:2.0.5"},
        {"VXI2::24::INSTR", 2, 1, 1500, "OTHERCO,DMM-1,0,1.0"},
        {"VXI2::99::INSTR", 2, 2, 1025, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1"},
    };
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].resource, expected[i].resource) << i;
        EXPECT_EQ(found[i].interfaceNumber, expected[i].interfaceNumber) << i;
        EXPECT_EQ(found[i].slot, expected[i].slot) << i;
        EXPECT_EQ(found[i].modelCode, expected[i].modelCode) << i;
        EXPECT_EQ(found[i].identity, expected[i].identity) << i;
    }
    const ViSession analyzer = Open("VXI0::8::INSTR");
    const std::pair<const char*, const char*> answers[] = {
        {"SYST:CONF:WIDT?", "136"}, {"SYST:CONF:DEPT?", "65536"}, {"SYST:CONF:SPE?", "100"},
        {"SYST:CONF:TICL:HRES?", "125"}, {"PEEKL? #H5000048", "#H00000000"},
    };
    for (const auto& [query, answer] : answers) {
        EXPECT_EQ(Ask(analyzer, query), answer) << query;
    }
    EXPECT_EQ(Ask(Open("VXI0::16::INSTR"), "SYST:CONF:OPT?"), "STD");
}

TEST_F(BenchFile, TheEnvironmentNamesBenchStateAndTrace)
{
    folder_.Write("env-bench.json", R"({ "modules": [ { "resource": "VXI5::5::INSTR", "idn": "FROM THE ENVIRONMENT" } ] })");
    const ScopedEnvironment bench("STRATIGON_SIM_BENCH", folder_.File("env-bench.json"));
    const ScopedEnvironment state("STRATIGON_SIM_STATE", folder_.File("env-state.json"));
    const ScopedEnvironment trace("STRATIGON_SIM_TRACE", folder_.File("env-trace.log"));
    ConfigureFromEnvironment();
    const ViSession vi = Open("VXI5::5::INSTR");
    EXPECT_EQ(Ask(vi, "*IDN?"), "FROM THE ENVIRONMENT");
    ASSERT_EQ(Send(vi, "POKEL #H5000048, #H1"), VI_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "env-state.json"));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "env-bench.json.state.json"));
    EXPECT_EQ(folder_.Read("env-trace.log"),
              "W VXI5::5::INSTR *IDN?\nR VXI5::5::INSTR FROM THE ENVIRONMENT\\n\nW VXI5::5::INSTR POKEL #H5000048, #H1\n");
}

TEST_F(BenchFile, TheDefaultBenchHasAMainframeAndTwoExpansionFrames)
{
    UseBench(DefaultBenchText());
    const std::vector<Found> found = Scan();
    std::map<int, std::set<int>> slotsPerFrame;
    for (const Found& module : found) {
        EXPECT_GE(module.slot, 1) << module.resource;
        EXPECT_LE(module.slot, 12) << module.resource;
        EXPECT_TRUE(slotsPerFrame[module.interfaceNumber].insert(module.slot).second)
            << module.resource << ": slot " << module.slot << " is taken twice in frame " << module.interfaceNumber;
    }
    EXPECT_EQ(slotsPerFrame.size(), 3U);
    EXPECT_EQ(slotsPerFrame.begin()->first, 0);
    EXPECT_EQ(slotsPerFrame.rbegin()->first, 2);
}

TEST_F(BenchFile, TheDefaultBenchHasEveryKindOfModuleAndOneForeignInstrument)
{
    UseBench(DefaultBenchText());
    auto accepted = [](int code) {
        const std::pair<int, int> ranges[] = {{1023, 1031}, {1040, 1044}, {1961, 1969},
                                              {1980, 1990}, {2000, 2012}, {2032, 2040}};
        return std::any_of(std::begin(ranges), std::end(ranges),
                           [code](const auto& r) { return code >= r.first && code <= r.second; });
    };
    std::set<std::string> productFamilies;
    int refused = 0;
    for (const Found& module : Scan()) {
        if (!accepted(module.modelCode)) {
            ++refused;
            EXPECT_EQ(module.identity.find("QUORVALIS"), std::string::npos) << module.resource;
            continue;
        }
        const std::string product = module.identity.substr(10, module.identity.find(',', 10) - 10);
        productFamilies.insert(product.rfind("KVX7PG", 0) == 0 ? "PG" : product.substr(0, 4));
    }
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(productFamilies, (std::set<std::string>{"KVX5", "KVX7", "KVX9", "PG"}));
}

// The program gives such a module a number of its own once and reads it back ever after.
TEST_F(BenchFile, TheDefaultModuleWithoutSerialNumberNeedsANewUniqueNumber)
{
    UseBench(DefaultBenchText());
    const auto found = Scan();
    const auto module = std::find_if(found.begin(), found.end(), [](const Found& f) {
        return f.identity.find("KVX5") != std::string::npos && f.identity.find(",B000000,") != std::string::npos;
    });
    ASSERT_NE(module, found.end());
    const ViSession vi = Open(module->resource);
    const std::uint32_t number = std::stoul(Ask(vi, "PEEKL? #H5000048").substr(2), nullptr, 16);
    const std::uint32_t checksum = std::stoul(Ask(vi, "PEEKW? #H500004c").substr(2), nullptr, 16);
    const std::uint32_t expected =
        ((number & 0xFF) + ((number >> 8) & 0xFF) + ((number >> 16) & 0xFF) + (number >> 24) + 6) & 0xFFFF;
    EXPECT_NE(checksum, expected);
}

TEST_F(BenchFile, TheDefaultBenchHasATimingPeriodWithoutAScaleLetter)
{
    UseBench(DefaultBenchText());
    bool found = false;
    for (const Found& module : Scan()) {
        if (module.identity.find("KVX9XL64A") != std::string::npos) {
            EXPECT_EQ(Ask(Open(module.resource), "SYST:CONF:TICL:HRES?"), "3000");
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

// Every test here has its own folder as the temp folder (see SimulatorTest).
TEST_F(BenchFile, TheDefaultBenchKeepsItsStateInTheTempFolder)
{
    Configure({});
    ASSERT_EQ(Send(Open("VXI0::24::INSTR"), "SYST:PASS:INST:UPD 1733629260"), VI_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "stratigon-default-bench.state.json"));
}

}  // namespace
}  // namespace stratigon::sim::test
