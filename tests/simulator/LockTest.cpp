// VISA locks between sessions on one simulated resource: who may lock, nest, unlock and talk
// to the instrument while others hold it.
#include "SimulatorTest.h"
#include "simulator/VisaAttributes.h"
#include "simulator/VisaExports.h"
#include "simulator/VisaStatus.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace stratigon::sim::test {
namespace {

const char* const kBench = R"({ "modules": [ { "resource": "VXI0::24::INSTR" } ] })";

enum Who { A, B, C };
enum class Act { Shared, Exclusive, Unlock, Write, Query, Read, Clear, Flush, UnknownType };

struct Step {
    Who who;
    Act act;
    const char* key;
    ViStatus expected;
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
};

class Locks : public SimulatorTest {
protected:
    void SetUp() override
    {
        UseBench(kBench);
        // A and B share a resource manager, C has one of its own: locks are between sessions.
        const ViSession rm = OpenRm();
        sessions_ = {Open(rm, "VXI0::24::INSTR"), Open(rm, "VXI0::24::INSTR"), Open("VXI0::24::INSTR")};
    }

    ViStatus Do(const Step& step)
    {
        const ViSession vi = sessions_[step.who];
        switch (step.act) {
        case Act::Shared:
            return viLock(vi, VI_SHARED_LOCK, 0, step.key, nullptr);
        case Act::Exclusive:
            return viLock(vi, VI_EXCLUSIVE_LOCK, 0, nullptr, nullptr);
        case Act::Unlock:
            return viUnlock(vi);
        case Act::Write:
            return Send(vi, "*CLS");
        case Act::Query:
            return Send(vi, "*IDN?");
        case Act::Read: {
            unsigned char answer[64];
            ViUInt32 count = 0;
            return viRead(vi, answer, sizeof answer, &count);
        }
        case Act::Clear:
            return viClear(vi);
        case Act::Flush:
            return viFlush(vi, VI_READ_BUF_DISCARD | VI_WRITE_BUF);
        case Act::UnknownType:
            return viLock(vi, 3, 0, nullptr, nullptr);
        }
        return VI_ERROR_SYSTEM_ERROR;
    }

    std::array<ViSession, 3> sessions_{};
};

constexpr ViStatus ok = VI_SUCCESS;
constexpr ViStatus locked = VI_ERROR_RSRC_LOCKED;

const Scenario kScenarios[] = {
    {"shared locks with one key coexist",
     {{A, Act::Shared, "k", ok}, {B, Act::Shared, "k", ok}, {A, Act::Write, {}, ok}, {B, Act::Write, {}, ok}}},
    {"a session outside a shared lock may not talk", {{A, Act::Shared, "k", ok}, {C, Act::Write, {}, locked}}},
    {"a shared lock with another key is refused", {{A, Act::Shared, "k1", ok}, {B, Act::Shared, "k2", locked}}},
    {"an exclusive lock keeps everyone else out",
     {{A, Act::Exclusive, {}, ok},
      {B, Act::Shared, "k", locked},
      {C, Act::Exclusive, {}, locked},
      {B, Act::Write, {}, locked},
      {A, Act::Write, {}, ok}}},
    {"an exclusive lock keeps everyone else from clearing the device",
     {{A, Act::Exclusive, {}, ok}, {C, Act::Clear, {}, locked}, {A, Act::Clear, {}, ok},
      {C, Act::Flush, {}, locked}, {A, Act::Flush, {}, ok}}},
    {"a shared lock keeps out an exclusive one", {{A, Act::Shared, "k", ok}, {B, Act::Exclusive, {}, locked}}},
    {"a holder of the only shared lock may also lock exclusively",
     {{A, Act::Shared, "k", ok}, {A, Act::Exclusive, {}, ok}, {B, Act::Shared, "k", locked}}},
    {"shared locks nest and unwind",
     {{A, Act::Shared, "k", ok},
      {A, Act::Shared, "k", VI_SUCCESS_NESTED_SHARED},
      {A, Act::Unlock, {}, VI_SUCCESS_NESTED_SHARED},
      {A, Act::Unlock, {}, ok},
      {A, Act::Unlock, {}, VI_ERROR_SESN_NLOCKED}}},
    {"exclusive locks nest and unwind",
     {{A, Act::Exclusive, {}, ok},
      {A, Act::Exclusive, {}, VI_SUCCESS_NESTED_EXCLUSIVE},
      {A, Act::Unlock, {}, VI_SUCCESS_NESTED_EXCLUSIVE},
      {B, Act::Exclusive, {}, locked},
      {A, Act::Unlock, {}, ok},
      {B, Act::Exclusive, {}, ok}}},
    {"a nested shared lock must keep its key", {{A, Act::Shared, "k1", ok}, {A, Act::Shared, "k2", VI_ERROR_INV_ACCESS_KEY}}},
    {"a null key makes a key nobody else holds", {{A, Act::Shared, nullptr, ok}, {B, Act::Shared, nullptr, locked}}},
    {"the last holder leaving frees the key",
     {{A, Act::Shared, "k1", ok}, {A, Act::Unlock, {}, ok}, {B, Act::Shared, "k2", ok}}},
    {"a shared lock keeps an outsider from the answer to its query",
     {{C, Act::Query, {}, ok}, {A, Act::Shared, "k", ok}, {C, Act::Read, {}, locked}}},
    {"unlocking without a lock", {{A, Act::Unlock, {}, VI_ERROR_SESN_NLOCKED}}},
    {"an unknown lock type", {{A, Act::UnknownType, {}, VI_ERROR_INV_LOCK_TYPE}, {B, Act::Exclusive, {}, ok}}},
};

TEST_F(Locks, SessionsLockAsVisaDefines)
{
    for (const Scenario& scenario : kScenarios) {
        SetUp();
        for (std::size_t i = 0; i < scenario.steps.size(); ++i) {
            const Step& step = scenario.steps[i];
            EXPECT_EQ(Hex(Do(step)), Hex(step.expected)) << scenario.name << ", step " << i + 1;
        }
    }
}

TEST_F(Locks, EverySessionSeesTheStrongestLockOnTheResource)
{
    const std::pair<Step, ViAccessMode> steps[] = {
        {{A, Act::Shared, "k", ok}, VI_SHARED_LOCK},
        {{B, Act::Shared, "k", ok}, VI_SHARED_LOCK},
        {{A, Act::Exclusive, {}, locked}, VI_SHARED_LOCK},
        {{B, Act::Unlock, {}, ok}, VI_SHARED_LOCK},
        {{A, Act::Exclusive, {}, ok}, VI_EXCLUSIVE_LOCK},
        {{A, Act::Unlock, {}, VI_SUCCESS_NESTED_SHARED}, VI_SHARED_LOCK},
        {{A, Act::Unlock, {}, ok}, VI_NO_LOCK},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const auto& [step, state] = steps[i];
        EXPECT_EQ(Hex(Do(step)), Hex(step.expected)) << "step " << i + 1;
        for (const ViSession vi : sessions_) {
            ViAccessMode seen = 0xDEAD;
            EXPECT_EQ(viGetAttribute(vi, VI_ATTR_RSRC_LOCK_STATE, &seen), VI_SUCCESS);
            EXPECT_EQ(seen, state) << "step " << i + 1 << ", session " << vi;
        }
    }
    UseBench(R"({ "modules": [ { "faults": { "exclusive_lock": true } } ] })");
    ViAccessMode seen = 0xDEAD;
    EXPECT_EQ(viGetAttribute(Open("VXI0::8::INSTR"), VI_ATTR_RSRC_LOCK_STATE, &seen), VI_SUCCESS);
    EXPECT_EQ(seen, VI_EXCLUSIVE_LOCK) << "another program's lock";
}

TEST_F(Locks, TheAccessKeyIsTheRequestedOne)
{
    char key[VI_FIND_BUFLEN];
    ASSERT_EQ(viLock(sessions_[A], VI_SHARED_LOCK, 0, "Mon Dec  8 03:41:00 2025", key), VI_SUCCESS);
    EXPECT_STREQ(key, "Mon Dec  8 03:41:00 2025");
    ASSERT_EQ(viLock(sessions_[A], VI_SHARED_LOCK, 0, nullptr, key), VI_SUCCESS_NESTED_SHARED);
    EXPECT_STREQ(key, "Mon Dec  8 03:41:00 2025") << "a nested lock reports the key it holds";
}

TEST_F(Locks, AGeneratedKeyLetsOthersJoin)
{
    char generated[VI_FIND_BUFLEN];
    char key[VI_FIND_BUFLEN];
    ASSERT_EQ(viLock(sessions_[A], VI_SHARED_LOCK, 0, nullptr, generated), VI_SUCCESS);
    EXPECT_GT(std::strlen(generated), 0U);
    EXPECT_EQ(Hex(viLock(sessions_[B], VI_SHARED_LOCK, 0, generated, key)), Hex(VI_SUCCESS));
    EXPECT_STREQ(key, generated);
}

// The lock comes between a query and the read of its answer.
TEST_F(Locks, AReadRefusedByAnExclusiveLockHandsOutNothingAndLeavesTheAnswerQueued)
{
    ASSERT_EQ(Send(sessions_[A], "*IDN?"), VI_SUCCESS);
    ASSERT_EQ(viLock(sessions_[C], VI_EXCLUSIVE_LOCK, 0, nullptr, nullptr), VI_SUCCESS);
    unsigned char answer[64];
    std::memset(answer, 0xCD, sizeof answer);
    ViUInt32 count = 0xDEADBEEF;
    EXPECT_EQ(Hex(viRead(sessions_[A], answer, sizeof answer, &count)), Hex(VI_ERROR_RSRC_LOCKED));
    EXPECT_EQ(count, 0U);
    EXPECT_EQ(std::count(std::begin(answer), std::end(answer), 0xCD), 64) << "nothing may reach the buffer";
    ASSERT_EQ(viUnlock(sessions_[C]), VI_SUCCESS);
    EXPECT_EQ(ReadOnce(sessions_[A], 64).bytes, "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1\n")
        << "the answer waits for the asker";
}

// A key the library handed back, cut to fit its buffer, must still be the key of the lock.
TEST_F(Locks, AKeyTooLongForTheBufferIsTheKeyAsHandedBack)
{
    const std::string requested(300, 'K');
    char handedBack[VI_FIND_BUFLEN] = {};
    char joined[VI_FIND_BUFLEN] = {};
    ASSERT_EQ(viLock(sessions_[A], VI_SHARED_LOCK, 0, requested.c_str(), handedBack), VI_SUCCESS);
    EXPECT_EQ(Hex(viLock(sessions_[B], VI_SHARED_LOCK, 0, handedBack, joined)), Hex(VI_SUCCESS));
    EXPECT_STREQ(joined, handedBack);
    EXPECT_EQ(Hex(viLock(sessions_[C], VI_SHARED_LOCK, 0, requested.c_str(), joined)), Hex(VI_SUCCESS))
        << "the whole requested key names the same lock";
    EXPECT_EQ(Hex(viLock(sessions_[A], VI_SHARED_LOCK, 0, requested.c_str(), joined)), Hex(VI_SUCCESS_NESTED_SHARED));
}

TEST_F(Locks, ClosingASessionFreesItsLocks)
{
    ASSERT_EQ(viLock(sessions_[A], VI_EXCLUSIVE_LOCK, 0, nullptr, nullptr), VI_SUCCESS);
    ASSERT_EQ(viLock(sessions_[A], VI_EXCLUSIVE_LOCK, 0, nullptr, nullptr), VI_SUCCESS_NESTED_EXCLUSIVE);
    ASSERT_EQ(viClose(sessions_[A]), VI_SUCCESS);
    EXPECT_EQ(Hex(viLock(sessions_[B], VI_EXCLUSIVE_LOCK, 0, nullptr, nullptr)), Hex(VI_SUCCESS));
}

TEST_F(Locks, OpeningWithTheExclusiveModeTakesTheLock)
{
    const ViSession rm = OpenRm();
    ViSession first = VI_NULL;
    ViSession second = VI_NULL;
    ASSERT_EQ(viOpen(rm, "VXI0::24::INSTR", VI_EXCLUSIVE_LOCK, VI_NULL, &first), VI_SUCCESS);
    EXPECT_EQ(Hex(viOpen(rm, "VXI0::24::INSTR", VI_EXCLUSIVE_LOCK, VI_NULL, &second)), Hex(VI_ERROR_RSRC_LOCKED));
    EXPECT_EQ(second, VI_NULL);
    EXPECT_EQ(Hex(Send(sessions_[A], "*CLS")), Hex(VI_ERROR_RSRC_LOCKED));
    EXPECT_EQ(Hex(viUnlock(first)), Hex(VI_SUCCESS));
}

TEST_F(Locks, AnotherProgramsExclusiveLockRefusesEveryLockButNotTheScanItself)
{
    UseBench(R"({ "modules": [ { "resource": "VXI0::24::INSTR", "slot": 4, "faults": { "exclusive_lock": true } } ] })");
    const ViSession vi = Open("VXI0::24::INSTR");
    ViInt16 slot = 0;
    EXPECT_EQ(Hex(viGetAttribute(vi, VI_ATTR_SLOT, &slot)), Hex(VI_SUCCESS));
    EXPECT_EQ(slot, 4);
    EXPECT_EQ(Hex(viLock(vi, VI_SHARED_LOCK, 0, "key", nullptr)), Hex(VI_ERROR_RSRC_LOCKED));
    EXPECT_EQ(Hex(viLock(vi, VI_EXCLUSIVE_LOCK, 0, nullptr, nullptr)), Hex(VI_ERROR_RSRC_LOCKED));
    EXPECT_EQ(Hex(Send(vi, "*IDN?")), Hex(VI_ERROR_RSRC_LOCKED));
}

}  // namespace
}  // namespace stratigon::sim::test
