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
#include "ui/CAutomationAlerts.h"
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

// What an inventory script does: reads the collection, walks it and reads every property of
// every module, its possible upgrades included.
bool ReadEveryProperty(IStratigonApplication2* client)
{
    win32::ComPtr<IStratigonModules> modules;
    win32::ComPtr<IUnknown> walker;
    if (FAILED(client->get_Modules(modules.put())) || FAILED(modules->get__NewEnum(walker.put())))
        return false;
    const auto items = walker.As<IEnumVARIANT>(IID_IEnumVARIANT);
    VARIANT item;
    ::VariantInit(&item);
    int read = 0;
    while (items && items->Next(1, &item, nullptr) == S_OK) {
        const auto module = win32::ComPtr<IDispatch>(V_DISPATCH(&item)).As<IStratigonModule>(IID_IStratigonModule);
        ::VariantClear(&item);
        LONG number = 0;
        for (auto get : {&IStratigonModule::get_Frame, &IStratigonModule::get_Slot, &IStratigonModule::get_ReadStatus})
            (module.get()->*get)(&number);
        for (auto get : {&IStratigonModule::get_FrameName, &IStratigonModule::get_ResourceName,
                         &IStratigonModule::get_ProductType, &IStratigonModule::get_SerialNumber,
                         &IStratigonModule::get_UniqueID, &IStratigonModule::get_MemoryDepth,
                         &IStratigonModule::get_StateSpeed, &IStratigonModule::get_TimingSpeed,
                         &IStratigonModule::get_Channels}) {
            BSTR text = nullptr;
            (module.get()->*get)(&text);
            ::SysFreeString(text);
        }
        VARIANT lines;
        if (FAILED(module->get_PossibleUpgrades(&lines)))
            return false;
        ::VariantClear(&lines);
        ++read;
    }
    return read == kModules;
}

// Both measurements on one client: the look-up, then the inventory.
std::vector<Measurement> MeasureBoth(IStratigonApplication2* client,
                                     const std::function<std::vector<std::string>()>& traceSinceMark,
                                     const std::function<void()>& mark)
{
    return {Measure([&] { return GetLastUniqueId(client); }, traceSinceMark, mark),
            Measure([&] { return ReadEveryProperty(client); }, traceSinceMark, mark)};
}

std::vector<Measurement> InProcess(const std::string& benchText)
{
    test::RecordingSink boxes;
    ui::CAutomationAlerts alerts(boxes);
    test::SimulatedBench bench(benchText, {}, &alerts);
    test::TestReport report(alerts);
    ui::ApplicationState application{.alerts = &alerts};
    app::CpiApplicationFactory factory(application);
    const auto window = win32::MakeDialog<ui::CMainWindow>(bench.Module(), alerts, report.writer, application);
    window->Create(nullptr);
    const ui::CMainWindowBinding running(application, *window);
    win32::ComPtr<IStratigonApplication2> client;
    if (FAILED(factory.CreateInstance(nullptr, IID_IStratigonApplication2, client.put_void())))
        return {};
    return MeasureBoth(client.get(), [] { return sim::TraceLines(); }, [] { sim::ClearTrace(); });
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

std::vector<Measurement> OutOfProcess(const fs::path& folder)
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
    std::vector<Measurement> result;
    {
        win32::ComPtr<IStratigonApplication2> client;
        if (FAILED(::CoCreateInstance(CLSID_StratigonApplication, nullptr, CLSCTX_LOCAL_SERVER, IID_IStratigonApplication2,
                                      client.put_void())))
            return {};
        std::size_t mark = 0;
        result = MeasureBoth(client.get(), [&] { return LinesFrom(trace, mark); },
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

void Report(const char* what, const char* where, const Measurement& measurement)
{
    std::printf("%-10s %-16s %10.2f ms %8zu writes %8zu reads\n", what, where, measurement.medianMs, measurement.writes,
                measurement.reads);
}

// The fewest writes a call can make: one readout of each module it must look at, then the
// dialog's selection again. A readout of these analyzers writes six queries.
constexpr std::size_t kWritesPerReadout = 6;
constexpr std::size_t kFewestWrites = (kModules + 1) * kWritesPerReadout;

void ReportAll(const std::vector<Measurement>& inProcess, const std::vector<Measurement>& outOfProcess)
{
    const char* whats[] = {"look-up", "inventory"};
    for (std::size_t i = 0; i < 2; ++i) {
        const Measurement in = i < inProcess.size() ? inProcess[i] : Measurement{};
        const Measurement out = i < outOfProcess.size() ? outOfProcess[i] : Measurement{};
        Report(whats[i], "in process", in);
        Report(whats[i], "out of process", out);
        std::printf("%-10s writes against the fewest (%zu): %.2f in process, %.2f out of process; out of process "
                    "against 2 x in process + 5 ms: %.2f\n",
                    whats[i], kFewestWrites, static_cast<double>(in.writes) / kFewestWrites,
                    static_cast<double>(out.writes) / kFewestWrites, out.medianMs / (2 * in.medianMs + 5));
    }
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

    std::printf("look-up: GetUniqueID(\"%s\"), the last of %d modules; inventory: Modules, walked, every property "
                "of every module read; through the dual interfaces, median of %d calls\n",
                kLastSerial.c_str(), kModules, kCalls);
    OneExchange(test::Bench({test::Analyzer(0, 3)}));
    const std::vector<Measurement> inProcess = InProcess(benchText);
    ReportAll(inProcess, OutOfProcess(folder));
    fs::remove_all(folder);
    ::OleUninitialize();
    return 0;
}
