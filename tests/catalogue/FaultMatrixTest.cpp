#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>

#include "catalogue/FindOptionTable.h"
#include "catalogue/OptionNames.h"
#include "catalogue/UpgradeInstallation.h"
#include "module/ModuleCodes.h"
#include "simulator/SimulatorControl.h"
#include "support/SimulatedBench.h"
#include "support/TempFolder.h"

namespace stratigon::test {
namespace {

// Every fault the simulated bench can put on one exchange, at every exchange an operation makes:
// whatever goes wrong, the program says so, gives a code it can give, does not crash, and the
// module keeps either its old configuration or the whole new one.

const std::string kFamily0 = R"("idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1", "model_code": 1025)";
const std::string kFamily1 = R"("idn": "QUORVALIS,KVX5L1,B000000,FVER:3.1.0", "model_code": 1041, "depth": 32768,
    "hres_period_ps": 500, "memory": { "0x5000048": 305419896, "0x500004C": 0 })";
const std::string kFamily2 = R"("idn": "QUORVALIS,KVX9XL64A,N204060,FVER:5.0.2", "model_code": 2034, "depth": 67108864,
    "hres_period_ps": 3000)";
const std::string kPatternGenerator = R"("kind": "pattern-generator", "model_code": 1985)";

struct Configuration {
    std::string depth, speed;
    bool operator==(const Configuration&) const = default;
};

struct Outcome {
    int code = 0;
    bool failed = false;
    bool silentAllowed = false;  // a failure whose code is the message, shown by the caller
};

// An operation on the module read first (the readout's own faults are its own rows).
struct Operation {
    const char* name;
    std::string module;
    std::set<int> codes;  // what it may return
    Configuration before, after;
    std::function<Outcome(SimulatedBench&, const std::string& faultedMessage)> run;
    bool readFirst = true;
};

// A readout's failure is its code: the main dialog shows its text in the status bar.
Outcome Readout(SimulatedBench& bench, const std::string&)
{
    const int code = bench.Module().ReadModule(bench.SessionAt(0));
    return {code, code != ModuleCode::Success, true};
}

Outcome Change(SimulatedBench& bench, const std::string& faulted, const std::string& depth, const std::string& speed)
{
    const int code = bench.Module().ChangeConfiguration(bench.SessionAt(0), depth, speed);
    // The refused update stamp is the one failure the change leaves to its caller.
    return {code, code != ModuleCode::UpdateComplete, faulted.rfind("SYST:PASS:INST:UPD", 0) == 0};
}

// As the install window installs: the person is told of success or failure either way.
Outcome Install(SimulatedBench& bench, const std::string&)
{
    bool closed = false;
    InstallOption(bench.Module(), bench.SessionAt(0), FindProductOptionByDesignation("KVX7L1A", "05"), bench.sink,
                  [&] { closed = true; });
    return {closed ? 0 : 1, !closed, false};
}

const std::set<int> kReadoutCodes = {112, 114, 117, 119, 120};

const Operation kOperations[] = {
    {"readout, family 0", kFamily0, kReadoutCodes, {"64K", "100 MHz"}, {"64K", "100 MHz"}, &Readout, false},
    {"readout, family 1 with its own number", kFamily1, kReadoutCodes, {"32K", "100 MHz"}, {"32K", "100 MHz"}, &Readout,
     false},
    {"readout, family 2", kFamily2, kReadoutCodes, {"64M", "100 MHz"}, {"64M", "100 MHz"}, &Readout, false},
    {"readout, pattern generator", kPatternGenerator, kReadoutCodes, {"256K", "134 MHz"}, {"256K", "134 MHz"}, &Readout,
     false},
    {"change of an analyzer", kFamily0, {104, 105}, {"64K", "100 MHz"}, {"256K", "200 MHz"},
     [](SimulatedBench& b, const std::string& m) { return Change(b, m, "256K", "200 MHz"); }},
    {"change of a pattern generator", kPatternGenerator, {104, 105}, {"256K", "134 MHz"}, {"1M", "134 MHz"},
     [](SimulatedBench& b, const std::string& m) { return Change(b, m, "1M", ""); }},
    {"installation", kFamily0, {0, 1}, {"64K", "100 MHz"}, {"256K", "200 MHz"}, &Install},
};

std::string BenchOf(const std::string& module, const std::string& faults)
{
    return R"({ "modules": [ { "interface": 0, "slot": 3, "logical_address": 24, )" + module +
           (faults.empty() ? "" : R"(, "faults": )" + faults) + " } ] }";
}

std::vector<std::string> Written()
{
    std::vector<std::string> messages;
    for (const std::string& line : sim::TraceLines()) {
        const std::string text = line.substr(line.find(' ', 2) + 1);
        if (line.rfind("W ", 0) == 0 && std::find(messages.begin(), messages.end(), text) == messages.end())
            messages.push_back(text);
    }
    return messages;
}

// The messages the operation writes to the module in a run without faults, each once, in
// order; not those of the readout before it, which would fail it before it starts.
std::vector<std::string> MessagesOf(const Operation& operation, const std::string& statePath)
{
    SimulatedBench bench(BenchOf(operation.module, ""), statePath);
    std::vector<std::string> before;
    if (operation.readFirst) {
        bench.Module().ReadModule(bench.SessionAt(0));
        before = Written();
        sim::ClearTrace();
    }
    operation.run(bench, "");
    std::vector<std::string> messages = Written();
    std::erase_if(messages, [&](const std::string& m) { return std::find(before.begin(), before.end(), m) != before.end(); });
    return messages;
}

Configuration Persisted(const Operation& operation, const std::string& statePath)
{
    SimulatedBench bench(BenchOf(operation.module, ""), statePath);
    bench.Module().ReadModule(bench.SessionAt(0));
    return {bench.Module().GetMemoryDepth(), bench.Module().GetStateSpeed()};
}

TEST(FaultMatrix, EveryFaultAtEveryExchangeIsToldAndLeavesAWholeConfiguration)
{
    const char* kFaults[] = {"refuse", "no_answer", "write_error", "read_error"};
    int cells = 0;
    for (const Operation& operation : kOperations) {
        TempFolder folder;
        const std::vector<std::string> exchanges = MessagesOf(operation, folder.File("clean.json"));
        ASSERT_FALSE(exchanges.empty()) << operation.name;
        for (const std::string& message : exchanges) {
            for (const char* fault : kFaults) {
                SCOPED_TRACE(testing::Message() << operation.name << ": " << fault << " at \"" << message << "\"");
                const std::string statePath = folder.File("state" + std::to_string(++cells) + ".json");
                Outcome outcome;
                std::vector<std::string> shown;
                {
                    SimulatedBench bench(BenchOf(operation.module, std::string(R"({ ")") + fault + R"(": [")" + message + R"("] })"),
                                         statePath);
                    ASSERT_TRUE(bench.Scanned());
                    if (operation.readFirst) {
                        ASSERT_EQ(bench.Module().ReadModule(bench.SessionAt(0)), ModuleCode::Success);
                        bench.sink.messages.clear();
                    }
                    outcome = operation.run(bench, message);
                    shown = bench.sink.messages;
                }
                EXPECT_EQ(operation.codes.count(outcome.code), 1u) << "code " << outcome.code;
                if (outcome.failed && !outcome.silentAllowed)
                    EXPECT_FALSE(shown.empty()) << "a failure nobody is told of";
                const Configuration kept = Persisted(operation, statePath);
                EXPECT_TRUE(kept == operation.before || kept == operation.after)
                    << "persisted " << kept.depth << " at " << kept.speed;
                if (!outcome.failed)
                    EXPECT_EQ(kept, operation.after);
            }
        }
    }
    EXPECT_GT(cells, 100) << "every operation makes several exchanges";
}

// The scan meets its faults before any module is read: the program either stops with one
// message or leaves the faulty resource out, and never keeps a half-entered module.
TEST(FaultMatrix, EveryFaultOfTheScanStopsItWithOneMessageOrLeavesTheResourceOut)
{
    const std::string second = R"({ "interface": 1, "slot": 5, "logical_address": 48 })";
    const auto bench = [&](const std::string& firstFaults, const std::string& benchFaults) {
        return R"({ "modules": [ { "interface": 0, "slot": 3, "logical_address": 24, "faults": )" + firstFaults +
               " }, " + second + " ], \"faults\": " + benchFaults + " }";
    };
    const struct {
        std::string bench;
        bool scanned;
        int modules;
    } cases[] = {
        {bench(R"({ "open_error": true })", "{}"), false, 0},
        {bench(R"({ "attribute_error": true })", "{}"), false, 0},
        {bench(R"({ "exclusive_lock": true })", "{}"), false, 0},
        {bench("{}", R"({ "find_next_error": 0 })"), true, 1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.bench);
        SimulatedBench simulated(test.bench);
        EXPECT_EQ(simulated.Scanned(), test.scanned);
        EXPECT_EQ(simulated.sink.messages.size(), test.scanned ? 0u : 1u);
        if (test.scanned)
            EXPECT_EQ(simulated.Module().GetDeviceCount(), test.modules);
    }
}

}  // namespace
}  // namespace stratigon::test
