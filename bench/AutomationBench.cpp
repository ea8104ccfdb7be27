// Cost of one automation look-up on a large bench: GetUniqueID of the last of 256 modules
// through the dual interface, in this process on the linked simulator and out of process
// against Stratigon.exe. Prints the median of several calls and the exchanges each call made.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Stratigon.h"
#include "app/CpiApplicationFactory.h"
#include "e2e/AppDriver.h"
#include "instrument/SharedBuffers.h"
#include "simulator/SimulatorControl.h"
#include "support/AutomationCalls.h"
#include "support/SimulatedBench.h"
#include "ui/CMainWindow.h"
#include "ui/UiTestSupport.h"
#include "win32/ComPtr.h"

namespace {

using namespace stratigon;
namespace fs = std::filesystem;

constexpr int kModules = 256;
constexpr int kCalls = 7;
std::string Serial(int module)
{
    char text[16];
    std::snprintf(text, sizeof text, "B%06d", 100000 + module);
    return text;
}

const std::string kLastSerial = Serial(kModules - 1);

// 256 analyzers, sixteen to a frame, each with a serial number of its own.
std::string LargeBench()
{
    std::vector<std::string> modules;
    for (int i = 0; i < kModules; ++i)
        modules.push_back(test::Analyzer(i / 16, i % 16 + 1, "KVX7L1A", Serial(i)));
    return test::Bench(modules);
}

struct Measurement {
    double medianMs = 0;
    std::size_t writes = 0;
    std::size_t reads = 0;
};

// Times every call; the exchanges are counted over the first, from trace lines.
Measurement Measure(const std::function<bool()>& call, const std::function<std::vector<std::string>()>& traceSinceMark,
                    const std::function<void()>& mark)
{
    Measurement result;
    std::vector<double> times;
    for (int i = 0; i < kCalls; ++i) {
        mark();
        const auto start = std::chrono::steady_clock::now();
        if (!call())
            return result;
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (i == 0) {
            for (const std::string& line : traceSinceMark())
                (line.rfind("W ", 0) == 0 ? result.writes : result.reads) += 1;
        }
    }
    std::sort(times.begin(), times.end());
    result.medianMs = times[times.size() / 2];
    return result;
}

bool GetLastUniqueId(IStratigonApplication* client)
{
    test::Bstr serial(kLastSerial);
    BSTR uniqueId = nullptr;
    const HRESULT result = client->GetUniqueID(serial.value, &uniqueId);
    ::SysFreeString(uniqueId);
    if (FAILED(result))
        std::fprintf(stderr, "GetUniqueID failed: 0x%08lX\n", static_cast<unsigned long>(result));
    return SUCCEEDED(result);
}

Measurement InProcess(const std::string& benchText)
{
    test::SimulatedBench bench(benchText);
    test::TestReport report(bench.sink);
    ui::ApplicationState application;
    app::CpiApplicationFactory factory(application);
    const auto window = win32::MakeDialog<ui::CMainWindow>(bench.Module(), bench.sink, report.writer, application);
    window->Create(nullptr);
    const ui::CMainWindowBinding running(application, *window);
    win32::ComPtr<IStratigonApplication> client;
    if (FAILED(factory.CreateInstance(nullptr, IID_IStratigonApplication, client.put_void())))
        return {};
    return Measure([&] { return GetLastUniqueId(client.get()); }, [] { return sim::TraceLines(); },
                   [] { sim::ClearTrace(); });
}

std::vector<std::string> LinesFrom(const fs::path& file, std::size_t skip)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(skip, lines.size())));
    return lines;
}

Measurement OutOfProcess(const fs::path& folder)
{
    const fs::path trace = folder / "trace.txt";
    test::AppDriver app;
    app.Start(test::AppDriver::ProgramBesideThisOne("Stratigon.exe"),
              {{"STRATIGON_SIM_BENCH", (folder / "bench.json").string()},
               {"STRATIGON_SIM_STATE", (folder / "state.json").string()},
               {"STRATIGON_SIM_TRACE", trace.string()}});
    std::fprintf(stderr, "Stratigon.exe scans %d modules with its mandated waits (about a minute)...\n", kModules);
    HWND main = nullptr;
    for (int wait = 0; wait < 4 && main == nullptr && app.IsRunning(); ++wait)
        main = app.WaitForWindow("KVX Stratigon Utility");
    if (main == nullptr)
        return {};
    Measurement result;
    {
        win32::ComPtr<IStratigonApplication> client;
        if (FAILED(::CoCreateInstance(CLSID_StratigonApplication, nullptr, CLSCTX_LOCAL_SERVER, IID_IStratigonApplication,
                                      client.put_void())))
            return {};
        std::size_t mark = 0;
        result = Measure([&] { return GetLastUniqueId(client.get()); }, [&] { return LinesFrom(trace, mark); },
                         [&] { mark = LinesFrom(trace, 0).size(); });
    }
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    app.WaitForExit();
    return result;
}

// The same query exchange as the native ratio benchmark times, here under Wine.
void OneExchange(const std::string& benchText)
{
    test::SimulatedBench bench(benchText);
    constexpr int kRounds = 200000;
    const ViSession session = bench.SessionAt(0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i)
        bench.Module().Query(session, "*IDN?", ResponseBuffer, ReportFailures);
    const double took = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    std::printf("one query exchange (*IDN?), under Wine: %.0f ns\n", took / kRounds);
}

void Report(const char* where, const Measurement& measurement)
{
    std::printf("%-16s %10.2f ms %8zu writes %8zu reads\n", where, measurement.medianMs, measurement.writes,
                measurement.reads);
}

}  // namespace

int main()
{
    if (FAILED(::OleInitialize(nullptr)))
        return 1;
    const fs::path folder = fs::temp_directory_path() / "stratigon-automation-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string benchText = LargeBench();
    std::ofstream(folder / "bench.json") << benchText;

    std::printf("GetUniqueID(\"%s\"), the last of %d modules, through the dual interface; median of %d calls\n",
                kLastSerial.c_str(), kModules, kCalls);
    OneExchange(test::Bench({test::Analyzer(0, 3)}));
    Report("in process", InProcess(benchText));
    Report("out of process", OutOfProcess(folder));
    fs::remove_all(folder);
    ::OleUninitialize();
    return 0;
}
