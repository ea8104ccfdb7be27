// A second process for the persistence tests: loads the bench the environment names, as the
// program does, sends each message to one resource and prints the answers of the queries.
//
//   simulator_probe [--ready FILE] [--go FILE] [--repeat FIRST COUNT] [--killed-after MICROSECONDS]
//                   RESOURCE MESSAGE...
//
// --ready creates FILE once the resource is open and the messages are about to go out; --go
// then waits until FILE exists, so that several probes start their changes together;
// --repeat sends the messages COUNT times, with "{n}" in them replaced by FIRST, FIRST + 1, ...
// in hexadecimal, so each round makes a change of its own; --killed-after kills the process
// (SIGKILL, TerminateProcess) that long after the first message, wherever it is then.
#include "simulator/VisaExports.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace {

struct Options {
    std::string go;
    std::string ready;
    unsigned long long first = 0;
    unsigned long long count = 1;
    long long killedAfterUs = -1;
    std::string resource;
    std::vector<std::string> messages;
};

int Fail(const char* call, ViStatus status)
{
    std::fprintf(stderr, "%s failed: %08x\n", call, static_cast<unsigned>(static_cast<std::uint32_t>(status)));
    return 2;
}

bool Parse(int argc, char** argv, Options& options)
{
    int i = 1;
    for (; i < argc && std::string_view(argv[i]).starts_with("--"); ++i) {
        const std::string_view option = argv[i];
        if (option == "--go" && i + 1 < argc) {
            options.go = argv[++i];
        } else if (option == "--ready" && i + 1 < argc) {
            options.ready = argv[++i];
        } else if (option == "--repeat" && i + 2 < argc) {
            options.first = std::strtoull(argv[++i], nullptr, 10);
            options.count = std::strtoull(argv[++i], nullptr, 10);
        } else if (option == "--killed-after" && i + 1 < argc) {
            options.killedAfterUs = std::strtoll(argv[++i], nullptr, 10);
        } else {
            return false;
        }
    }
    if (argc - i < 2) {
        return false;
    }
    options.resource = argv[i++];
    options.messages.assign(argv + i, argv + argc);
    return true;
}

// A test that dies before it says "go" must not leave a probe waiting for ever.
bool WaitFor(const std::string& path)
{
    for (int tries = 0; tries < 60000; ++tries) {
        if (std::filesystem::exists(path)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// The end a crash or a task manager gives a process: no destructors, no flushing, no warning.
void KillThisProcessAfter(std::chrono::microseconds delay)
{
    std::thread([delay] {
        std::this_thread::sleep_for(delay);
#if defined(_WIN32)
        ::TerminateProcess(::GetCurrentProcess(), 9);
#else
        ::kill(::getpid(), SIGKILL);
#endif
    }).detach();
}

std::string WithRound(std::string message, unsigned long long round)
{
    char hex[24];
    std::snprintf(hex, sizeof hex, "%llX", round);
    for (auto at = message.find("{n}"); at != std::string::npos; at = message.find("{n}", at)) {
        message.replace(at, 3, hex);
    }
    return message;
}

ViStatus Exchange(ViSession vi, const std::string& message)
{
    ViUInt32 count = 0;
    if (const ViStatus status =
            viWrite(vi, reinterpret_cast<ViConstBuf>(message.data()), static_cast<ViUInt32>(message.size()), &count);
        status < 0 || message.find('?') == std::string::npos) {
        return status;
    }
    unsigned char answer[256];
    const ViStatus status = viRead(vi, answer, sizeof answer, &count);
    if (status >= 0) {
        std::fwrite(answer, 1, count, stdout);
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: simulator_probe [--ready FILE] [--go FILE] [--repeat FIRST COUNT] "
                             "[--killed-after MICROSECONDS] RESOURCE MESSAGE...\n");
        return 1;
    }
    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    if (const ViStatus status = viOpenDefaultRM(&rm); status < 0) {
        return Fail("viOpenDefaultRM", status);
    }
    if (const ViStatus status = viOpen(rm, options.resource.c_str(), VI_NULL, VI_NULL, &vi); status < 0) {
        return Fail("viOpen", status);
    }
    if (!options.ready.empty()) {
        std::ofstream(options.ready) << "ready\n";
    }
    if (!options.go.empty() && !WaitFor(options.go)) {
        std::fprintf(stderr, "nobody said go\n");
        return 3;
    }
    if (options.killedAfterUs >= 0) {
        KillThisProcessAfter(std::chrono::microseconds(options.killedAfterUs));
    }
    for (unsigned long long round = 0; round < options.count; ++round) {
        for (const std::string& message : options.messages) {
            if (const ViStatus status = Exchange(vi, WithRound(message, options.first + round)); status < 0) {
                return Fail("viWrite or viRead", status);
            }
        }
    }
    viClose(rm);
    return 0;
}
