// The shared library (libstratigon-visa-sim.so, or visa32.dll beside the test on Windows)
// exports every VISA function the simulator implements, under its plain C name, as a program
// loading it at run time looks them up.
#include "instrument/SharedLibrary.h"

#include <gtest/gtest.h>

#include <string>

#ifndef STRATIGON_SIM_LIBRARY
#error "STRATIGON_SIM_LIBRARY names the simulated bench's shared library"
#endif

namespace stratigon::sim::test {
namespace {

TEST(SharedSimulator, ExportsEveryVisaFunctionByItsPlainName)
{
    SharedLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(STRATIGON_SIM_LIBRARY, error)) << error;
    const char* const functions[] = {
        "viOpenDefaultRM", "viFindRsrc", "viFindNext", "viOpen", "viClose", "viGetAttribute", "viLock",
        "viUnlock", "viRead", "viWrite", "viStatusDesc", "viParseRsrc", "viParseRsrcEx", "viSetAttribute",
        "viClear", "viFlush", "viDisableEvent", "viDiscardEvents",
    };
    for (const char* function : functions) {
        EXPECT_NE(library.Symbol(function), nullptr) << function;
    }
}

}  // namespace
}  // namespace stratigon::sim::test
