// What a simulated module keeps across processes: settings applied at reset, memory words and
// update stamps live in the state file; pending settings and errors do not.
#include "ScopedEnvironment.h"
#include "SimulatorTest.h"
#include "simulator/VisaExports.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace stratigon::sim::test {
namespace {

const char* const kAnalyzer = "VXI0::24::INSTR";
const char* const kPatternGenerator = "VXI1::16::INSTR";

const char* const kBench = R"({ "modules": [
  { "resource": "VXI0::24::INSTR", "depth": 65536, "state_speed_mhz": 100,
    "memory": { "0x5000048": 305419896, "0x500004C": 0 } },
  { "resource": "VXI1::16::INSTR", "kind": "pattern-generator", "pattern_option": "STD" }
] })";

class Persistence : public SimulatorTest {
protected:
    // A new load of the same bench and state file, as a later process makes it.
    void Reload() { UseBench(kBench); }

    void SendAll(const char* resource, const std::vector<const char*>& messages)
    {
        const ViSession vi = Open(resource);
        for (const char* message : messages) {
            ASSERT_EQ(Send(vi, message), VI_SUCCESS) << message;
        }
        ASSERT_EQ(NextError(vi), "0,\"No error\"");
    }
};

TEST_F(Persistence, ChangesOfTheModuleOutliveTheProcess)
{
    struct Case {
        const char* resource;
        std::vector<const char*> messages;
        const char* query;
        const char* answer;
    };
    const Case cases[] = {
        {kAnalyzer, {"SYST:CONF:DEPT 1048576", "*RST"}, "SYST:CONF:DEPT?", "1048576"},
        {kAnalyzer, {"SYST:CONF:SPE 200", "*RST"}, "SYST:CONF:SPE?", "200"},
        {kPatternGenerator, {"SYST:CONF:OPT OPT1M", "*RST"}, "SYST:CONF:OPT?", "OPT1M"},
        {kAnalyzer, {"POKEL #H5000048, #H1a2b3"}, "PEEKL? #H5000048", "#H0001A2B3"},
        {kAnalyzer, {"POKEW #H500004C, #H1a2"}, "PEEKW? #H500004c", "#H01A2"},
        {kAnalyzer, {"SYST:PASS:INST:UPD 1733629260"}, "SYST:PASS:INST:UPD?", "1733629260"},
        {kAnalyzer, {"SYST:CONF:DEPT 1048576"}, "SYST:CONF:DEPT?", "65536"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(StatePath());
        Reload();
        SendAll(c.resource, c.messages);
        Reload();
        EXPECT_EQ(Ask(Open(c.resource), c.query), c.answer) << c.messages.front() << " after a new load";
    }
}

TEST_F(Persistence, EveryModuleKeepsItsOwnChanges)
{
    UseBench(kBench);
    SendAll(kAnalyzer, {"POKEL #H5000048, #H77"});
    SendAll(kPatternGenerator, {"SYST:CONF:OPT OPT1M", "*RST"});
    SendAll(kAnalyzer, {"SYST:CONF:SPE 200", "*RST"});
    Reload();
    EXPECT_EQ(Ask(Open(kAnalyzer), "PEEKL? #H5000048"), "#H00000077");
    EXPECT_EQ(Ask(Open(kAnalyzer), "SYST:CONF:SPE?"), "200");
    EXPECT_EQ(Ask(Open(kPatternGenerator), "SYST:CONF:OPT?"), "OPT1M");
}

TEST_F(Persistence, ErrorsDoNotOutliveTheProcess)
{
    UseBench(kBench);
    ASSERT_EQ(Send(Open(kAnalyzer), "BOGUS"), VI_SUCCESS);
    Reload();
    EXPECT_EQ(NextError(Open(kAnalyzer)), "0,\"No error\"");
}

TEST_F(Persistence, DeletingTheStateFileResetsTheBench)
{
    UseBench(kBench);
    SendAll(kAnalyzer, {"SYST:CONF:DEPT 1048576", "*RST"});
    ASSERT_TRUE(std::filesystem::exists(StatePath()));
    std::filesystem::remove(StatePath());
    Reload();
    EXPECT_EQ(Ask(Open(kAnalyzer), "SYST:CONF:DEPT?"), "65536");
}

TEST_F(Persistence, EachSaveReplacesTheFileAndLeavesNothingElseBehind)
{
    UseBench(kBench);
    for (const char* value : {"#H1", "#H2", "#H3"}) {
        SendAll(kAnalyzer, {(std::string("POKEL #H5000048, ") + value).c_str()});
    }
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
        files.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"state.json"});
    Reload();
    EXPECT_EQ(Ask(Open(kAnalyzer), "PEEKL? #H5000048"), "#H00000003");
}

TEST_F(Persistence, AnUnreadableStateFileCountsAsAFreshBench)
{
    const char* cases[] = {
        "",
        "not json at all",
        "[]",
        R"({ "resources": 5 })",
        R"({ "resources": { "VXI0::24::INSTR": { "depth": "deep" } } })",
        R"({ "resources": { "VXI0::24::INSTR": { "depth": 1, "state_speed_mhz": 1, "pattern_option": "STD",
                                                   "memory": { "0x5000048": -3 } } } })",
    };
    for (const char* content : cases) {
        folder_.Write("state.json", content);
        Reload();
        const ViSession vi = Open(kAnalyzer);
        EXPECT_EQ(Ask(vi, "SYST:CONF:DEPT?"), "65536") << "state file: " << content;
        EXPECT_EQ(Ask(vi, "PEEKL? #H5000048"), "#H12345678") << "state file: " << content;
        ASSERT_EQ(Send(vi, "POKEL #H5000048, #H9"), VI_SUCCESS);
        Reload();
        EXPECT_EQ(Ask(Open(kAnalyzer), "PEEKL? #H5000048"), "#H00000009") << "the next save repairs " << content;
    }
}

TEST_F(Persistence, StateOfResourcesTheBenchNoLongerHasIsHarmless)
{
    folder_.Write("state.json", R"({ "resources": { "VXI9::9::INSTR": { "depth": 1, "state_speed_mhz": 1,
        "pattern_option": "STD", "memory": {} } } })");
    Reload();
    EXPECT_EQ(Ask(Open(kAnalyzer), "SYST:CONF:DEPT?"), "65536");
}

TEST_F(Persistence, TheStateFileDefaultsToTheBenchPathPlusASuffix)
{
    folder_.Write("lab.json", kBench);
    Configure({.benchPath = folder_.File("lab.json")});
    SendAll(kAnalyzer, {"SYST:PASS:INST:UPD 1"});
    EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "lab.json.state.json"));
}

TEST_F(Persistence, BenchTextWithoutAPathForgetsItsChanges)
{
    UseVolatileBench(kBench);
    SendAll(kAnalyzer, {"SYST:CONF:DEPT 1048576", "*RST"});
    EXPECT_EQ(Ask(Open(kAnalyzer), "SYST:CONF:DEPT?"), "1048576");
    UseVolatileBench(kBench);
    EXPECT_EQ(Ask(Open(kAnalyzer), "SYST:CONF:DEPT?"), "65536");
    EXPECT_TRUE(std::filesystem::is_empty(folder_.Path()));
}

TEST_F(Persistence, AStateFileThatCannotBeWrittenDoesNotStopTheModule)
{
    Configure({.benchText = kBench, .statePath = folder_.File("no-such-folder/state.json")});
    const ViSession vi = Open(kAnalyzer);
    ASSERT_EQ(Send(vi, "POKEL #H5000048, #H5"), VI_SUCCESS);
    EXPECT_EQ(Ask(vi, "PEEKL? #H5000048"), "#H00000005");
}

// The command line that starts the probe program. A Windows build runs under Wine here, where
// CMake's path of the probe is a Unix path that Wine reaches through its Z: drive.
std::string ProbeCommand(const std::vector<std::string>& arguments, const std::string& output)
{
    std::string program = STRATIGON_SIM_PROBE;
#if defined(_WIN32)
    if (!program.empty() && program.front() == '/') {
        program = "Z:" + program;
    }
    std::replace(program.begin(), program.end(), '/', '\\');
    // cmd.exe drops the outer quotes of a command line that starts with one.
    std::string command = "\"\"" + program + "\"";
#else
    std::string command = "'" + program + "'";
#endif
    for (const std::string& argument : arguments) {
        command += " \"" + argument + "\"";
    }
    command += " > \"" + output + "\"";
#if defined(_WIN32)
    command += "\"";
#endif
    return command;
}

// A real second process, reading the bench through the environment as the program does.
TEST_F(Persistence, AnotherProcessSeesTheChangesAndMakesItsOwn)
{
    folder_.Write("bench.json", kBench);
    Configure({.benchPath = folder_.File("bench.json"), .statePath = StatePath()});
    SendAll(kAnalyzer, {"POKEL #H5000048, #H1a2b3", "SYST:CONF:DEPT 2097152", "*RST"});

    const ScopedEnvironment bench("STRATIGON_SIM_BENCH", folder_.File("bench.json"));
    const ScopedEnvironment state("STRATIGON_SIM_STATE", StatePath());
    const std::string command = ProbeCommand(
        {kAnalyzer, "PEEKL? #H5000048", "SYST:CONF:DEPT?", "POKEW #H500004C, #H11A"}, folder_.File("probe.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::string printed = folder_.Read("probe.txt");
    std::erase(printed, '\r');  // a Windows console program writes CR LF
    EXPECT_EQ(printed, "#H0001A2B3\n2097152\n");

    Configure({.benchPath = folder_.File("bench.json"), .statePath = StatePath()});
    EXPECT_EQ(Ask(Open(kAnalyzer), "PEEKW? #H500004C"), "#H011A");
}

TEST_F(Persistence, ProcessesChangingDifferentModulesKeepEachOthersChanges)
{
    folder_.Write("bench.json", kBench);
    Configure({.benchPath = folder_.File("bench.json"), .statePath = StatePath()});
    const ViSession analyzer = Open(kAnalyzer);
    ASSERT_EQ(Send(analyzer, "POKEL #H5000048, #H1"), VI_SUCCESS);

    const ScopedEnvironment bench("STRATIGON_SIM_BENCH", folder_.File("bench.json"));
    const ScopedEnvironment state("STRATIGON_SIM_STATE", StatePath());
    const std::string command =
        ProbeCommand({kPatternGenerator, "SYST:CONF:OPT OPT1M", "*RST"}, folder_.File("probe.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    ASSERT_EQ(Send(analyzer, "POKEL #H5000048, #H2"), VI_SUCCESS) << "this process saves after the other one";

    Reload();
    EXPECT_EQ(Ask(Open(kPatternGenerator), "SYST:CONF:OPT?"), "OPT1M");
    EXPECT_EQ(Ask(Open(kAnalyzer), "PEEKL? #H5000048"), "#H00000002");
}

}  // namespace
}  // namespace stratigon::sim::test
