// stratigon-cli: the program's operations from a command line, over the same core.
#include <cstdio>
#include <memory>

#include "cli/CliOptions.h"
#include "cli/ConsoleReporters.h"
#include "cli/VisaSelection.h"
#include "instrument/CVxiBus.h"
#include "instrument/FrameNames.h"

namespace stratigon::cli {
namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void PrintDeviceTable(const CVxiBus& bus)
{
    std::printf("%-6s %-13s %-5s %s\n", "Frame", "Name", "Slot", "Logical address");
    for (int i = 0; i < bus.GetDeviceCount(); ++i) {
        const DeviceEntry& device = bus.GetDevice(i);
        std::printf("%-6d %-13s %-5d %d\n", device.interfaceNumber, FrameName(device.interfaceNumber).c_str(),
                    device.slot, device.logicalAddress);
    }
    std::printf("%d module(s) in %d frame(s)\n", bus.GetDeviceCount(), bus.GetFrameCount());
}

int Run(const CliOptions& options)
{
    CVisaLibrary library;
    std::string notice, error;
    if (!LoadVisa(library, options.visaLibrary, options.benchFile, notice, error)) {
        std::fprintf(stderr, "stratigon-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    if (!notice.empty())
        std::fprintf(stderr, "stratigon-cli: %s\n", notice.c_str());

    StderrSink messages;
    ThreadSleeper realWaits;
    SkippedWaits noWaits;
    ISleeper& sleeper = options.noWait ? static_cast<ISleeper&>(noWaits) : realWaits;
    CVxiBus bus(library.Functions(), messages, sleeper);
    bool scanned = false;
    {
        TerminalProgress progress;
        progress.SetDeviceCount(0);
        sleeper.Sleep(CVxiBus::kStartDelayMs);
        scanned = bus.Scan(progress);
    }
    if (!scanned) {
        std::fprintf(stderr, "stratigon-cli: the scan failed\n");
        return kExitFailed;
    }
    PrintDeviceTable(bus);
    bus.Close();
    return kExitSuccess;
}

}  // namespace
}  // namespace stratigon::cli

int main(int argc, char** argv)
{
    using namespace stratigon::cli;
    std::string error;
    const auto options = ParseCommandLine(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "stratigon-cli: %s\n%s", error.c_str(), UsageText());
        return kExitUsage;
    }
    return Run(*options);
}
