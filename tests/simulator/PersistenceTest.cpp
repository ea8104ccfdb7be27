// What a simulated module keeps across processes: settings applied at reset, memory words and
// update stamps live in the state file; pending settings and errors do not.
#include "SimulatorTest.h"
#include "simulator/StateFileLock.h"
#include "simulator/VisaExports.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>
#include <set>
#include <thread>
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
    void Reload() { UseBench(benchText_); }

    // The bench as a file that this process and the probes it starts share, with the state
    // file beside it; the probes find both in the environment they inherit.
    void ShareBench(const char* benchText)
    {
        benchText_ = benchText;
        folder_.Write("bench.json", benchText);
        Configure({.benchPath = folder_.File("bench.json"), .statePath = StatePath()});
        benchVariable_.emplace("STRATIGON_SIM_BENCH", folder_.File("bench.json"));
        stateVariable_.emplace("STRATIGON_SIM_STATE", StatePath());
    }

    void SendAll(const char* resource, const std::vector<const char*>& messages)
    {
        const ViSession vi = Open(resource);
        for (const char* message : messages) {
            ASSERT_EQ(Send(vi, message), VI_SUCCESS) << message;
        }
        ASSERT_EQ(NextError(vi), "0,\"No error\"");
    }

    // The probes say when they are ready through a file; a probe that never does has failed.
    bool Appears(const std::string& name) const
    {
        for (int tries = 0; tries < 6000 && !std::filesystem::exists(folder_.Path() / name); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return std::filesystem::exists(folder_.Path() / name);
    }

    std::string benchText_ = kBench;
    std::optional<ScopedEnvironment> benchVariable_;
    std::optional<ScopedEnvironment> stateVariable_;
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
        // The largest values the module takes come back whole.
        {kAnalyzer, {"POKEL #H5000048, #HFFFFFFFF"}, "PEEKL? #H5000048", "#HFFFFFFFF"},
        {kAnalyzer, {"POKEL #HFFFFFFFF, #HFFFFFFFF"}, "PEEKL? #HFFFFFFFF", "#HFFFFFFFF"},
        {kAnalyzer, {"SYST:CONF:DEPT 1073741824", "*RST"}, "SYST:CONF:DEPT?", "1073741824"},
        {kAnalyzer, {"SYST:CONF:SPE 10000", "*RST"}, "SYST:CONF:SPE?", "10000"},
        {kAnalyzer, {"SYST:PASS:INST:UPD 9223372036854775807"}, "SYST:PASS:INST:UPD?", "9223372036854775807"},
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
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"state.json", "state.json.lock"}))
        << "the lock file stays, empty, for the next save";
    EXPECT_EQ(std::filesystem::file_size(folder_.Path() / "state.json.lock"), 0U);
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
        // Numbers that are no whole 64-bit values (found by fuzzing: converting them was undefined).
        R"({ "resources": { "VXI0::24::INSTR": { "depth": 1e26, "state_speed_mhz": 100, "pattern_option": "STD",
                                                   "memory": {} } } })",
        R"({ "resources": { "VXI0::24::INSTR": { "depth": 65536.5, "state_speed_mhz": true, "pattern_option": "STD",
                                                   "memory": {}, "last_update": -1e19 } } })",
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

TEST_F(Persistence, AChangeTheStateFileCannotKeepIsRefusedAndTheModuleGoesOnAnswering)
{
    Configure({.benchText = kBench, .statePath = folder_.File("no-such-folder/state.json")});
    const ViSession vi = Open(kAnalyzer);
    ASSERT_EQ(Send(vi, "POKEL #H5000048, #H5"), VI_SUCCESS);
    EXPECT_EQ(NextError(vi), "-250,\"Mass storage error\"");
    EXPECT_EQ(Ask(vi, "PEEKL? #H5000048"), "#H12345678");
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
    // exec: the shell becomes the probe, and says nothing when a test has it killed.
    std::string command = "exec '" + program + "'";
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
    ShareBench(kBench);
    SendAll(kAnalyzer, {"POKEL #H5000048, #H1a2b3", "SYST:CONF:DEPT 2097152", "*RST"});

    const std::string command = ProbeCommand(
        {kAnalyzer, "PEEKL? #H5000048", "SYST:CONF:DEPT?", "POKEW #H500004C, #H11A"}, folder_.File("probe.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::string printed = folder_.Read("probe.txt");
    std::erase(printed, '\r');  // a Windows console program writes CR LF
    EXPECT_EQ(printed, "#H0001A2B3\n2097152\n");

    Reload();
    EXPECT_EQ(Ask(Open(kAnalyzer), "PEEKW? #H500004C"), "#H011A");
}

TEST_F(Persistence, AnotherProcessReadsTheLargestValuesWhole)
{
    ShareBench(kBench);
    SendAll(kAnalyzer, {"POKEL #H5000048, #HFFFFFFFF", "SYST:CONF:DEPT 1073741824", "SYST:CONF:SPE 10000", "*RST"});

    const std::string command = ProbeCommand(
        {kAnalyzer, "PEEKL? #H5000048", "SYST:CONF:DEPT?", "SYST:CONF:SPE?"}, folder_.File("probe.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::string printed = folder_.Read("probe.txt");
    std::erase(printed, '\r');
    EXPECT_EQ(printed, "#HFFFFFFFF\n1073741824\n10000\n");
}

TEST_F(Persistence, ProcessesChangingDifferentModulesKeepEachOthersChanges)
{
    ShareBench(kBench);
    const ViSession analyzer = Open(kAnalyzer);
    ASSERT_EQ(Send(analyzer, "POKEL #H5000048, #H1"), VI_SUCCESS);

    const std::string command =
        ProbeCommand({kPatternGenerator, "SYST:CONF:OPT OPT1M", "*RST"}, folder_.File("probe.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    ASSERT_EQ(Send(analyzer, "POKEL #H5000048, #H2"), VI_SUCCESS) << "this process saves after the other one";

    Reload();
    EXPECT_EQ(Ask(Open(kPatternGenerator), "SYST:CONF:OPT?"), "OPT1M");
    EXPECT_EQ(Ask(Open(kAnalyzer), "PEEKL? #H5000048"), "#H00000002");
}

// Each probe rereads and rewrites the state file hundreds of times while the others do the
// same; a save that reads before another's rename and writes after it would undo that change.
TEST_F(Persistence, ProcessesChangingModulesAtTheSameMomentLoseNoChange)
{
    ShareBench(R"({ "modules": [ {}, {}, {} ] })");
    const std::string resources[] = {"VXI0::8::INSTR", "VXI0::16::INSTR", "VXI0::24::INSTR"};
    int exitCodes[3] = {-1, -1, -1};
    std::vector<std::thread> probes;
    for (int i = 0; i < 3; ++i) {
        const std::string command = ProbeCommand({"--ready", folder_.File("ready-" + std::to_string(i)), "--go",
                                                  folder_.File("go"), "--repeat", "1", "200", resources[i],
                                                  "POKEL #H5000048, #H{n}"},
                                                 folder_.File("probe-" + std::to_string(i) + ".txt"));
        probes.emplace_back([command, &exitCodes, i] { exitCodes[i] = std::system(command.c_str()); });
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Appears("ready-" + std::to_string(i))) << resources[i] << ": the probe never got going";
    }
    folder_.Write("go", "");
    for (std::thread& probe : probes) {
        probe.join();
    }

    Reload();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(exitCodes[i], 0) << resources[i];
        EXPECT_EQ(Ask(Open(resources[i]), "PEEKL? #H5000048"), "#H000000C8") << resources[i] << " lost its last change";
    }
}

// Whenever a writer dies, the next process finds one of the states that were saved, whole: the
// file either still holds the state before the save that was cut short, or the one after it.
// A kill between writing the temporary file and renaming it leaves that file; the next save
// reuses it, so kills never leave more than the one.
TEST_F(Persistence, TheStateFileSurvivesAWriterKilledAtAnyMoment)
{
    ShareBench(kBench);
    // Words that make the file load visibly: a file that fails to load shows the bench's zeros.
    std::vector<std::string> padding;
    {
        const ViSession vi = Open(kAnalyzer);
        for (int word = 0; word < 16; ++word) {
            padding.push_back("#H" + std::to_string(10000000 + word));
            ASSERT_EQ(Send(vi, "POKEL #H600" + std::to_string(1000 + word) + ", " + padding.back()), VI_SUCCESS);
        }
    }
    auto paddingNow = [&](ViSession vi) {
        std::vector<std::string> words;
        for (int word = 0; word < 16; ++word) {
            words.push_back(Ask(vi, "PEEKL? #H600" + std::to_string(1000 + word)));
        }
        return words;
    };

    std::mt19937 random(20251208);
    std::uniform_int_distribution<int> killAfterUs(0, 20000);
    constexpr unsigned long kSaves = 100000;
    unsigned long before = 0x12345678;  // the bench's own value, until a writer changes it
    for (unsigned long round = 1; round <= 10; ++round) {
        const unsigned long first = round << 20;
        const std::string command =
            ProbeCommand({"--repeat", std::to_string(first), std::to_string(kSaves), "--killed-after",
                          std::to_string(killAfterUs(random)), kAnalyzer, "POKEL #H5000048, #H{n}"},
                         folder_.File("writer.txt"));
        std::system(command.c_str());  // whatever the writer had done when it was killed

        Reload();
        const ViSession vi = Open(kAnalyzer);
        const unsigned long counter = std::stoul(Ask(vi, "PEEKL? #H5000048").substr(2), nullptr, 16);
        EXPECT_TRUE(counter == before || (counter >= first && counter < first + kSaves))
            << "round " << round << ": the file holds " << std::hex << counter << ", which nobody saved";
        EXPECT_EQ(paddingNow(vi), padding) << "round " << round << ": the state file did not load whole";
        before = counter;
    }
    const std::set<std::string> mayStay = {"bench.json", "state.json", "state.json.lock", "state.json.tmp",
                                           "writer.txt"};
    for (const std::string& name : folder_.Entries()) {
        EXPECT_TRUE(mayStay.count(name) != 0) << name << " was left behind";
    }
}

TEST_F(Persistence, AStateFileLockThatCannotBeHadNeitherStopsNorLosesAChange)
{
    // A folder where the lock file belongs: no lock is to be had, at once and for ever.
    std::filesystem::create_directory(StatePath() + ".lock");
    UseBench(kBench);
    ::testing::internal::CaptureStderr();
    SendAll(kAnalyzer, {"POKEL #H5000048, #H5", "POKEL #H5000048, #H6"});
    const std::string reported = ::testing::internal::GetCapturedStderr();
    Reload();
    EXPECT_EQ(Ask(Open(kAnalyzer), "PEEKL? #H5000048"), "#H00000006");
    EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1) << "reported once: " << reported;
    EXPECT_NE(reported.find("state.json.lock"), std::string::npos) << reported;
}

TEST_F(Persistence, AWriterHoldingTheLockIsWaitedForOnlySoLong)
{
    const std::filesystem::path lockFile = folder_.Path() / "state.json.lock";
    std::optional<StateFileLock> holder;
    holder.emplace(lockFile, std::chrono::milliseconds(0));
    ASSERT_TRUE(holder->Held()) << holder->Problem();
    {
        const StateFileLock waiter(lockFile, std::chrono::milliseconds(20));
        EXPECT_FALSE(waiter.Held()) << "two writers held the lock at once";
        EXPECT_NE(waiter.Problem(), "") << "a waiter that gives up says why";
    }
    holder.reset();
    const StateFileLock next(lockFile, std::chrono::milliseconds(0));
    EXPECT_TRUE(next.Held()) << "the lock is free again once its holder is done: " << next.Problem();
}

}  // namespace
}  // namespace stratigon::sim::test
