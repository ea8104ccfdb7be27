// Cost of the program's own work around the VISA library: one query exchange through the
// run-time function table into the simulated bench, and a scan of a large bench without its
// mandated waits.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "instrument/CVisaLibrary.h"
#include "instrument/CVxiBus.h"
#include "instrument/SharedBuffers.h"

namespace {

using namespace stratigon;
namespace fs = std::filesystem;

class QuietSink final : public IMessageSink {
public:
    void ShowMessage(const char* text) override { std::fprintf(stderr, "%s\n", text); }
};
class NoWaits final : public ISleeper {
public:
    void Sleep(unsigned) override {}
};
class NoProgress final : public IScanProgress {
public:
    void SetDeviceCount(int) override {}
};

constexpr int kBenchModules = 256;

// Writes a bench of `count` analyzers spread over the frames and points the simulator at it.
// The simulator reads its bench once per process, so every benchmark shares this one.
void UseBench(int count)
{
    const fs::path folder = fs::temp_directory_path() / "stratigon-bench";
    fs::create_directories(folder);
    const fs::path bench = folder / ("bench-" + std::to_string(count) + ".json");
    std::ofstream out(bench);
    out << "{ \"modules\": [";
    for (int i = 0; i < count; ++i)
        out << (i ? "," : "") << "{ \"interface\": " << i / 12 << ", \"slot\": " << i % 12 + 1
            << ", \"logical_address\": " << i + 1 << ", \"model_code\": 1025 }";
    out << "] }";
    out.close();
    setenv("STRATIGON_SIM_BENCH", bench.c_str(), 1);
    setenv("STRATIGON_SIM_STATE", (folder / "state.json").c_str(), 1);
}

CVisaLibrary& Library()
{
    static CVisaLibrary library;
    if (!library.IsLoaded())
        UseBench(kBenchModules);
    if (!library.IsLoaded() && !library.Load(STRATIGON_SIM_LIBRARY)) {
        std::fprintf(stderr, "%s\n", library.ErrorText().c_str());
        std::exit(1);
    }
    return library;
}

void BM_QueryExchange(benchmark::State& state)
{
    QuietSink sink;
    NoWaits waits;
    NoProgress progress;
    CVxiBus bus(Library().Functions(), sink, waits);
    if (!bus.Scan(progress) || bus.GetDeviceCount() != kBenchModules) {
        state.SkipWithError("scan of the simulated bench failed");
        return;
    }
    const ViSession session = bus.GetDevice(0).session;
    for (auto _ : state) {
        if (bus.Query(session, "*IDN?", ResponseBuffer, ReportFailures) != 1) {
            state.SkipWithError("query failed");
            break;
        }
        benchmark::DoNotOptimize(ResponseBuffer[0]);
    }
    bus.Close();
}
BENCHMARK(BM_QueryExchange);

void BM_ScanWithoutWaits(benchmark::State& state)
{
    QuietSink sink;
    NoWaits waits;
    NoProgress progress;
    for (auto _ : state) {
        CVxiBus bus(Library().Functions(), sink, waits);
        if (!bus.Scan(progress)) {
            state.SkipWithError("scan failed");
            break;
        }
        bus.Close();
    }
    state.SetItemsProcessed(state.iterations() * kBenchModules);
}
BENCHMARK(BM_ScanWithoutWaits);

}  // namespace

BENCHMARK_MAIN();
