#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "instrument/CVxiBus.h"
#include "support/FakeVisa.h"
#include "support/Recorders.h"

namespace stratigon::test {
namespace {

FakeResource Module(ViUInt16 interfaceNumber, ViUInt16 slot, ViUInt16 modelCode = 1025)
{
    FakeResource resource;
    resource.interfaceNumber = interfaceNumber;
    resource.slot = slot;
    resource.logicalAddress = static_cast<ViUInt16>(interfaceNumber * 32 + slot * 2);
    resource.modelCode = modelCode;
    resource.descriptor = "VXI" + std::to_string(interfaceNumber) + "::" +
                          std::to_string(resource.logicalAddress) + "::INSTR";
    return resource;
}

class ScanTest : public ::testing::Test {
protected:
    bool Scan() { return bus.Scan(progress); }
    int CallCount(const std::string& prefix) const
    {
        return static_cast<int>(std::count_if(visa.calls.begin(), visa.calls.end(), [&](const std::string& call) {
            return call.rfind(prefix, 0) == 0;
        }));
    }

    FakeVisa visa;
    RecordingSink sink;
    RecordingSleeper sleeper;
    RecordingProgress progress;
    CVxiBus bus{visa.Functions(), sink, sleeper};
};

TEST_F(ScanTest, EmptyResourceManagerIsASuccessfulScanWithNoRows)
{
    EXPECT_TRUE(Scan());
    EXPECT_EQ(bus.GetDeviceCount(), 0);
    EXPECT_EQ(bus.GetFrameCount(), 0);
    EXPECT_FALSE(bus.IsLockTaken());
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ModelCodeFilter, AcceptsExactlyTheModuleRanges)
{
    struct Case {
        ViUInt16 code;
        bool accepted;
    };
    const Case cases[] = {
        {1023, true}, {1031, true}, {1040, true}, {1044, true}, {1961, true}, {1969, true},
        {1980, true}, {1990, true}, {2000, true}, {2012, true}, {2032, true}, {2040, true},
        {0, false}, {1022, false}, {1032, false}, {1039, false}, {1045, false}, {1960, false},
        {1970, false}, {1979, false}, {1991, false}, {1999, false}, {2013, false}, {2031, false},
        {2041, false}, {0xFFFF, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CVxiBus::IsModelCodeAccepted(c.code), c.accepted) << "model code " << c.code;
}

TEST_F(ScanTest, EntersAcceptedModulesInListOrderAndCountsEveryResource)
{
    visa.resources = {Module(0, 3), Module(0, 5, 1500), Module(1, 2, 2040)};
    ASSERT_TRUE(Scan());

    ASSERT_EQ(bus.GetDeviceCount(), 2);
    EXPECT_EQ(bus.GetDevice(0).session, FakeVisa::SessionOf(0));
    EXPECT_EQ(bus.GetDevice(0).slot, 3);
    EXPECT_EQ(bus.GetDevice(0).interfaceNumber, 0);
    EXPECT_EQ(bus.GetDevice(0).logicalAddress, visa.resources[0].logicalAddress);
    EXPECT_EQ(bus.GetDevice(1).session, FakeVisa::SessionOf(2));
    EXPECT_EQ(bus.GetDevice(1).slot, 2);
    EXPECT_EQ(bus.GetDevice(1).interfaceNumber, 1);
    EXPECT_EQ(bus.GetFrameCount(), 2);
    EXPECT_TRUE(bus.IsLockTaken());

    // The refused instrument is counted, waited for, neither locked nor closed.
    EXPECT_EQ(progress.counts, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(sleeper.waits, (std::vector<unsigned>{250, 250, 250}));
    EXPECT_EQ(CallCount("viLock"), 2);
    EXPECT_EQ(CallCount("viClose"), 0);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ScanTest, FrameCountIsTheHighestFramePlusOneInEitherListOrder)
{
    for (const bool interfaceTwoFirst : {false, true}) {
        visa.resources = interfaceTwoFirst ? std::vector<FakeResource>{Module(2, 1), Module(0, 4)}
                                           : std::vector<FakeResource>{Module(0, 4), Module(2, 1)};
        CVxiBus freshBus(visa.Functions(), sink, sleeper);
        ASSERT_TRUE(freshBus.Scan(progress));
        EXPECT_EQ(freshBus.GetFrameCount(), 3) << (interfaceTwoFirst ? "interface 2 listed first" : "interface 0 first");
    }
}

TEST_F(ScanTest, EveryLockOfOneScanUsesTheSameDateTimeKey)
{
    visa.resources = {Module(0, 1), Module(0, 2), Module(1, 1)};
    ASSERT_TRUE(Scan());
    ASSERT_EQ(visa.lockKeys.size(), 3u);
    EXPECT_FALSE(visa.lockKeys[0].empty());
    EXPECT_EQ(std::set<std::string>(visa.lockKeys.begin(), visa.lockKeys.end()).size(), 1u);
}

TEST_F(ScanTest, RefusedLockOnTheThirdModuleEndsTheScanKeepingTheRowsEntered)
{
    visa.resources = {Module(0, 1), Module(0, 2), Module(0, 3), Module(0, 4)};
    visa.resources[2].lockStatus = VI_ERROR_RSRC_LOCKED;
    EXPECT_FALSE(Scan());
    EXPECT_EQ(sink.messages, (std::vector<std::string>{
                                 "Another application has VISA locked. Close it before running Stratigon"}));
    EXPECT_EQ(bus.GetDeviceCount(), 2);
    EXPECT_EQ(CallCount("viOpen VXI0::8::INSTR"), 0) << "the scan must stop at the refused lock";
}

TEST_F(ScanTest, FailuresShowTheirStatusAsEightHexDigits)
{
    struct Case {
        const char* name;
        void (*arrange)(FakeVisa&);
        const char* expected;
    };
    const Case cases[] = {
        {"resource manager", [](FakeVisa& v) { v.openDefaultRmStatus = VI_ERROR_SYSTEM_ERROR; },
         "Error: viOpenDefaultRM: error code = bfff0000"},
        {"resource search", [](FakeVisa& v) { v.findRsrcStatus = VI_ERROR_INV_EXPR; },
         "Error: viFindRsrc: error code = bfff0010"},
        {"open", [](FakeVisa& v) { v.resources[1].openStatus = VI_ERROR_RSRC_NFOUND; },
         "Error: viOpen: error code = bfff0011"},
        {"attribute", [](FakeVisa& v) { v.resources[1].attributeStatus = VI_ERROR_NSUP_ATTR; },
         "Error: viGetAttribute: error code = bfff001d"},
    };
    for (const Case& c : cases) {
        visa.openDefaultRmStatus = VI_SUCCESS;
        visa.findRsrcStatus = VI_SUCCESS;
        visa.resources = {Module(0, 1), Module(0, 2)};
        c.arrange(visa);
        RecordingSink messages;
        CVxiBus freshBus(visa.Functions(), messages, sleeper);
        EXPECT_FALSE(freshBus.Scan(progress)) << c.name;
        EXPECT_EQ(messages.messages, std::vector<std::string>{c.expected}) << c.name;
    }
}

TEST_F(ScanTest, NoMoreThan256RowsAreEnteredOrLocked)
{
    for (int i = 0; i < 300; ++i)
        visa.resources.push_back(Module(static_cast<ViUInt16>(i / 12), static_cast<ViUInt16>(i % 12 + 1)));
    ASSERT_TRUE(Scan());
    EXPECT_EQ(bus.GetDeviceCount(), CVxiBus::kMaxDevices);
    EXPECT_EQ(CallCount("viLock"), CVxiBus::kMaxDevices);
    EXPECT_EQ(bus.GetDevice(255).session, FakeVisa::SessionOf(255));
    EXPECT_EQ(progress.counts.back(), 300);
}

TEST_F(ScanTest, AFailingFindNextEndsTheScanWithTheRowsFoundSoFar)
{
    visa.resources = {Module(0, 1), Module(0, 2), Module(0, 3)};
    visa.findNextFailsAfter = 1;
    EXPECT_TRUE(Scan());
    EXPECT_EQ(bus.GetDeviceCount(), 2);
    EXPECT_EQ(progress.counts, (std::vector<int>{1, 1}));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ScanTest, AResourceCountLargerThanTheListEndsWithoutEnteringAModuleTwice)
{
    visa.resources = {Module(0, 1)};
    visa.reportedCount = 3;
    EXPECT_TRUE(Scan());
    EXPECT_EQ(bus.GetDeviceCount(), 1);
}

TEST_F(ScanTest, CloseUnlocksTheFirstRowAndClosesTheResourceManagerOnce)
{
    visa.resources = {Module(0, 1), Module(1, 1)};
    ASSERT_TRUE(Scan());
    visa.calls.clear();
    bus.Close();
    bus.Close();
    EXPECT_EQ(visa.calls, (std::vector<std::string>{"viUnlock " + std::to_string(FakeVisa::SessionOf(0)),
                                                    "viClose " + std::to_string(FakeVisa::kResourceManager)}));
}

TEST_F(ScanTest, CloseWithoutLocksOnlyClosesTheResourceManager)
{
    visa.resources = {Module(0, 1, 1500)};
    ASSERT_TRUE(Scan());
    visa.calls.clear();
    bus.Close();
    EXPECT_EQ(visa.calls, (std::vector<std::string>{"viClose 1"}));
}

TEST_F(ScanTest, CloseBeforeAnyScanCallsNothing)
{
    bus.Close();
    EXPECT_TRUE(visa.calls.empty());
}

TEST_F(ScanTest, DestroyingTheBusClosesWhatTheScanOpened)
{
    visa.resources = {Module(0, 1)};
    {
        CVxiBus scoped(visa.Functions(), sink, sleeper);
        ASSERT_TRUE(scoped.Scan(progress));
        visa.calls.clear();
    }
    EXPECT_EQ(CallCount("viClose"), 1);
}

}  // namespace
}  // namespace stratigon::test
