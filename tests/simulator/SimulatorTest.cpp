#include "SimulatorTest.h"

#include "simulator/VisaExports.h"

#include <cstdint>
#include <cstdio>

namespace stratigon::sim::test {

std::string Hex(ViStatus status)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(static_cast<std::uint32_t>(status)));
    return text;
}

void SimulatorTest::TearDown()
{
    // Drops every session before the folder with the state file goes away.
    Configure({.benchText = "{}"});
}

void SimulatorTest::UseBench(const std::string& benchText)
{
    Configure({.benchText = benchText, .statePath = StatePath()});
}

void SimulatorTest::UseVolatileBench(const std::string& benchText)
{
    Configure({.benchText = benchText});
}

ViSession SimulatorTest::OpenRm()
{
    ViSession rm = VI_NULL;
    const ViStatus status = viOpenDefaultRM(&rm);
    EXPECT_EQ(status, VI_SUCCESS) << "viOpenDefaultRM gave " << Hex(status);
    return rm;
}

ViSession SimulatorTest::Open(ViSession rm, const std::string& resource)
{
    ViSession vi = VI_NULL;
    const ViStatus status = viOpen(rm, resource.c_str(), VI_NULL, VI_NULL, &vi);
    EXPECT_EQ(status, VI_SUCCESS) << "viOpen " << resource << " gave " << Hex(status);
    return vi;
}

ViSession SimulatorTest::Open(const std::string& resource)
{
    return Open(OpenRm(), resource);
}

ViStatus SimulatorTest::Send(ViSession vi, std::string_view message)
{
    ViUInt32 written = 0;
    const ViStatus status =
        viWrite(vi, reinterpret_cast<ViConstBuf>(message.data()), static_cast<ViUInt32>(message.size()), &written);
    if (status == VI_SUCCESS) {
        EXPECT_EQ(written, message.size()) << "viWrite must take the whole message: " << message;
    }
    return status;
}

SimulatorTest::Reply SimulatorTest::ReadOnce(ViSession vi, ViUInt32 count)
{
    std::string buffer(count, '\0');
    ViUInt32 received = 0;
    const ViStatus status = viRead(vi, reinterpret_cast<ViPBuf>(buffer.data()), count, &received);
    EXPECT_LE(received, count) << "viRead returned more than it was asked for";
    buffer.resize(received);
    return {status, buffer};
}

std::string SimulatorTest::Ask(ViSession vi, std::string_view query)
{
    const ViStatus written = Send(vi, query);
    EXPECT_EQ(written, VI_SUCCESS) << "viWrite " << query << " gave " << Hex(written);
    std::string answer;
    Reply reply{VI_SUCCESS_MAX_CNT, {}};
    while (reply.status == VI_SUCCESS_MAX_CNT) {
        reply = ReadOnce(vi, 256);
        answer += reply.bytes;
    }
    EXPECT_EQ(reply.status, VI_SUCCESS) << "reading the answer to " << query << " gave " << Hex(reply.status);
    EXPECT_TRUE(!answer.empty() && answer.back() == '\n') << "an answer ends in a line feed: " << answer;
    if (!answer.empty() && answer.back() == '\n') {
        answer.pop_back();
    }
    return answer;
}

}  // namespace stratigon::sim::test
