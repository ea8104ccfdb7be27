// The program's own cost as ratios: a scan of 64 resources with its mandated waits against those
// waits, the exchanges of a readout and of an installation of each product type against the
// fewest the command sequences prescribe, and one query exchange (printed for comparison with
// the same exchange under Wine).
#include <chrono>
#include <cstdio>
#include <string>

#include "catalogue/CatalogueText.h"
#include "catalogue/ModuleConfiguration.h"
#include "catalogue/PossibleUpgrades.h"
#include "catalogue/UpgradeInstallation.h"
#include "instrument/CVxiBus.h"
#include "instrument/SharedBuffers.h"
#include "simulator/SimulatorControl.h"
#include "support/SimulatedBench.h"

namespace {

using namespace stratigon;
using Clock = std::chrono::steady_clock;

std::string Bench(const std::string& modules) { return R"({ "modules": [ )" + modules + " ] }"; }

int Writes()
{
    int writes = 0;
    for (const std::string& line : sim::TraceLines())
        writes += line.rfind("W ", 0) == 0;
    return writes;
}

void ScanAgainstItsWaits()
{
    constexpr int kResources = 64;
    std::string modules;
    for (int i = 0; i < kResources; ++i)
        modules += (i ? "," : "") + std::string(R"({ "interface": )") + std::to_string(i / 12) + R"(, "slot": )" +
                   std::to_string(i % 12 + 1) + R"(, "logical_address": )" + std::to_string(i + 1) + " }";
    sim::Configure(sim::BenchOptions{{}, Bench(modules), {}, {}});
    test::RecordingSink sink;
    test::RecordingProgress progress;
    ThreadSleeper waits;
    const auto start = Clock::now();
    // As the program starts: the first wait, then the scan with its wait after each resource.
    waits.Sleep(CVxiBus::kStartDelayMs);
    CVxiBus bus(test::SimulatedBench::Functions(), sink, waits);
    const bool scanned = bus.Scan(progress);
    const double took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    bus.Close();
    const double mandated = CVxiBus::kStartDelayMs + kResources * CVxiBus::kResourceDelayMs;
    std::printf("scan of %d resources with its waits: %.0f ms against %.0f ms of waits, ratio %.4f%s\n", kResources,
                took, mandated, took / mandated, scanned ? "" : " (the scan failed)");
}

struct Product {
    const char* name;
    std::string module;
    int readout;  // the fewest exchanges of a readout
};

// The first upgrade that fits the module read last, and the fewest exchanges installing it
// takes: "*CLS", the speed and depth commands that change something, the update stamp and
// "*RST", each with its error-queue query, then the read-back.
std::pair<std::int32_t, int> FirstUpgrade(const CModule& module, int readout)
{
    test::RecordingSink quiet;
    const auto candidates = ExamineOptionTable(ConfigurationOf(module), quiet);
    for (const UpgradeCandidate& candidate : candidates.value_or(std::vector<UpgradeCandidate>{})) {
        if (!candidate.listed)
            continue;
        const int changes = (candidate.memoryDepth != module.GetMemoryDepth()) +
                            (RemoveBlanks(candidate.stateSpeed) != RemoveBlanks(module.GetStateSpeed()));
        return {candidate.index, (3 + changes) * 2 + readout};
    }
    return {-1, 0};
}

void ExchangesAgainstTheFewest()
{
    // A command is its own write and the error-queue query after it; a readout is "*IDN?" and
    // the configuration queries of the product's kind.
    const Product products[] = {
        {"analyzer, family 0 (KVX7L1A)", R"({ "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1" })", 6},
        {"analyzer, family 1 (KVX5L1)", R"({ "idn": "QUORVALIS,KVX5L1,B012346,FVER:3.1.0", "model_code": 1041,
            "depth": 32768 })", 6},
        {"analyzer, family 2 (KVX9XL64A)", R"({ "idn": "QUORVALIS,KVX9XL64A,N204060,FVER:5.0.2", "model_code": 2034,
            "depth": 67108864, "state_speed_mhz": 100 })", 6},
        {"pattern generator (KVX7PG2)", R"({ "kind": "pattern-generator", "model_code": 1985 })", 2},
    };
    std::printf("%-32s %18s %22s\n", "exchanges (writes)", "readout", "installation");
    for (const Product& product : products) {
        test::SimulatedBench bench(Bench(product.module));
        sim::ClearTrace();
        bench.Module().ReadModule(bench.SessionAt(0));
        const int readout = Writes();
        const auto [row, fewest] = FirstUpgrade(bench.Module(), product.readout);
        sim::ClearTrace();
        const InstallOutcome outcome = ApplyOption(bench.Module(), bench.SessionAt(0), row, bench.sink, kAutomation);
        const int installation = Writes();
        std::printf("%-32s %6d / %2d = %5.2f %6d / %2d = %5.2f%s\n", product.name, readout, product.readout,
                    double(readout) / product.readout, installation, fewest, double(installation) / fewest,
                    outcome.status == InstallStatus::Installed ? "" : " (not installed)");
    }
}

void OneExchange()
{
    test::SimulatedBench bench(Bench(R"({ "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1" })"));
    constexpr int kRounds = 200000;
    const ViSession session = bench.SessionAt(0);
    const auto start = Clock::now();
    for (int i = 0; i < kRounds; ++i)
        bench.Module().Query(session, "*IDN?", ResponseBuffer, ReportFailures);
    const double took = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    std::printf("one query exchange (*IDN?), natively: %.0f ns\n", took / kRounds);
}

}  // namespace

int main()
{
    ExchangesAgainstTheFewest();
    OneExchange();
    ScanAgainstItsWaits();
    return 0;
}
