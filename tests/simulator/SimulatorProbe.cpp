// A second process for the persistence tests: loads the bench the environment names, as the
// program does, sends each message to one resource and prints the answers of the queries.
#include "simulator/VisaExports.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

int Fail(const char* call, ViStatus status)
{
    std::fprintf(stderr, "%s failed: %08x\n", call, static_cast<unsigned>(static_cast<std::uint32_t>(status)));
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: simulator_probe RESOURCE MESSAGE...\n");
        return 1;
    }
    ViSession rm = VI_NULL;
    ViSession vi = VI_NULL;
    if (const ViStatus status = viOpenDefaultRM(&rm); status < 0) {
        return Fail("viOpenDefaultRM", status);
    }
    if (const ViStatus status = viOpen(rm, argv[1], VI_NULL, VI_NULL, &vi); status < 0) {
        return Fail("viOpen", status);
    }
    for (int i = 2; i < argc; ++i) {
        const std::string_view message = argv[i];
        ViUInt32 count = 0;
        if (const ViStatus status = viWrite(vi, reinterpret_cast<ViConstBuf>(message.data()),
                                            static_cast<ViUInt32>(message.size()), &count);
            status < 0) {
            return Fail("viWrite", status);
        }
        if (message.find('?') == std::string_view::npos) {
            continue;
        }
        unsigned char answer[256];
        if (const ViStatus status = viRead(vi, answer, sizeof answer, &count); status < 0) {
            return Fail("viRead", status);
        }
        std::fwrite(answer, 1, count, stdout);
    }
    viClose(rm);
    return 0;
}
