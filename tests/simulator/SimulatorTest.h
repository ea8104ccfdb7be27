// The base of the simulator's tests: a bench of the test's own with its state in a private
// folder, and the few VISA exchanges every test needs, checked so failures say what happened.
#pragma once

#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"
#include "instrument/VisaTypes.h"
#include "simulator/SimulatorControl.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace stratigon::sim::test {

using stratigon::test::ScopedEnvironment;
using stratigon::test::TempFolder;

// Eight lower-case hex digits, as the program prints statuses.
std::string Hex(ViStatus status);

class SimulatorTest : public ::testing::Test {
protected:
    struct Reply {
        ViStatus status;
        std::string bytes;
    };

    void TearDown() override;

    // The bench text with its state file in this test's folder (StatePath()).
    void UseBench(const std::string& benchText);
    std::string StatePath() const { return folder_.File("state.json"); }
    // The bench text without a state file: its changes last as long as the process.
    void UseVolatileBench(const std::string& benchText);

    ViSession OpenRm();
    ViSession Open(ViSession rm, const std::string& resource);
    // A fresh resource manager and a session on the resource.
    ViSession Open(const std::string& resource);

    ViStatus Send(ViSession vi, std::string_view message);
    Reply ReadOnce(ViSession vi, ViUInt32 count);
    // Sends a query and reads its whole answer, without the final line feed.
    std::string Ask(ViSession vi, std::string_view query);
    std::string NextError(ViSession vi) { return Ask(vi, "SYST:ERR?"); }

    TempFolder folder_;

private:
    // The test's folder stands in for the temp folder, so that the built-in bench's state file,
    // which lives there, never carries one test's changes (or one run's) into the next.
#if defined(_WIN32)
    ScopedEnvironment tmp_{"TMP", folder_.Path().string()};
    ScopedEnvironment temp_{"TEMP", folder_.Path().string()};
#else
    ScopedEnvironment tmp_{"TMPDIR", folder_.Path().string()};
#endif
};

}  // namespace stratigon::sim::test
