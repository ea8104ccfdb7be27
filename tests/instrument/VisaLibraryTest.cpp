#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "instrument/CVisaLibrary.h"
#include "instrument/CVxiBus.h"
#include "instrument/SharedBuffers.h"
#include "support/Recorders.h"

#ifndef STRATIGON_SIM_LIBRARY
#error "STRATIGON_SIM_LIBRARY names the simulated bench's shared library"
#endif

namespace stratigon::test {
namespace {

namespace fs = std::filesystem;

void SetEnvironment(const char* name, const std::string& value)
{
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

TEST(VisaLibrary, AMissingLibraryIsNamedInTheError)
{
    CVisaLibrary library;
    EXPECT_FALSE(library.Load("no-such-visa-library-here.dll"));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_NE(library.ErrorText().find("no-such-visa-library-here.dll"), std::string::npos) << library.ErrorText();
    EXPECT_EQ(library.Functions().viOpenDefaultRM, nullptr);
}

TEST(VisaLibrary, ALibraryWithoutTheVisaFunctionsNamesTheFirstMissingOne)
{
#if defined(_WIN32)
    const char* notVisa = "kernel32.dll";
#else
    const char* notVisa = "libm.so.6";
#endif
    CVisaLibrary library;
    EXPECT_FALSE(library.Load(notVisa));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_NE(library.ErrorText().find("has no function viOpenDefaultRM"), std::string::npos) << library.ErrorText();
}

TEST(VisaLibrary, TheSimulatedBenchLoadsAndAnswersThroughTheTable)
{
    const fs::path folder = fs::temp_directory_path() / ("stratigon-load-" + std::to_string(std::rand()));
    fs::create_directories(folder);
    const fs::path bench = folder / "bench.json";
    std::ofstream(bench) << R"({ "modules": [
        { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025, "kind": "analyzer",
          "idn": "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1" },
        { "interface": 1, "slot": 5, "logical_address": 40, "model_code": 1500, "kind": "other" } ] })";
    SetEnvironment("STRATIGON_SIM_BENCH", bench.string());
    SetEnvironment("STRATIGON_SIM_STATE", (folder / "state.json").string());

    CVisaLibrary library;
    ASSERT_TRUE(library.Load(STRATIGON_SIM_LIBRARY)) << library.ErrorText();
    RecordingSink sink;
    RecordingSleeper sleeper;
    RecordingProgress progress;
    {
        CVxiBus bus(library.Functions(), sink, sleeper);
        ASSERT_TRUE(bus.Scan(progress)) << (sink.messages.empty() ? "" : sink.messages.front());
        ASSERT_EQ(bus.GetDeviceCount(), 1);
        EXPECT_EQ(bus.GetDevice(0).slot, 3);
        EXPECT_EQ(progress.counts, (std::vector<int>{1, 2}));
        ASSERT_EQ(bus.Query(bus.GetDevice(0).session, "*IDN?", ResponseBuffer, ReportFailures), 1);
        EXPECT_STREQ(ResponseBuffer, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1");
        EXPECT_EQ(bus.SendCommand(bus.GetDevice(0).session, "*CLS", ReportFailures), 1);
        EXPECT_EQ(bus.SendCommand(bus.GetDevice(0).session, "NOT:A:COMMAND", ReportFailures), 0);
        bus.Close();
    }
    EXPECT_TRUE(sink.messages.empty());
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace
}  // namespace stratigon::test
