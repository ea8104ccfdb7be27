// What a program may change about its own session through viSetAttribute, and the event calls
// a general VISA client makes before it closes a session.
#include "SimulatorTest.h"
#include "simulator/VisaAttributes.h"
#include "simulator/VisaExports.h"
#include "simulator/VisaStatus.h"

#include <cstdint>
#include <optional>

namespace stratigon::sim::test {
namespace {

const char* const kResource = "VXI0::24::INSTR";

class SessionSettings : public SimulatorTest {
protected:
    void SetUp() override
    {
        UseBench(R"({ "modules": [ { "resource": "VXI0::24::INSTR" } ] })");
        rm_ = OpenRm();
        vi_ = Open(rm_, kResource);
    }

    // Narrower attributes leave the upper bytes at zero.
    std::uint32_t Get(ViObject object, ViAttr attribute)
    {
        std::uint32_t value = 0;
        EXPECT_EQ(Hex(viGetAttribute(object, attribute, &value)), Hex(VI_SUCCESS)) << Hex(attribute);
        return value;
    }

    ViSession rm_ = VI_NULL;
    ViSession vi_ = VI_NULL;
};

TEST_F(SessionSettings, SettableAttributesTakeTheValuesTheirTypesAllow)
{
    struct Case {
        const char* name;
        ViAttr attribute;
        ViAttrState value;
        ViStatus status;
        std::optional<std::uint32_t> after;  // as read back afterwards
    };
    const Case cases[] = {
        {"a time-out", VI_ATTR_TMO_VALUE, 5000, VI_SUCCESS, 5000},
        {"an infinite time-out", VI_ATTR_TMO_VALUE, 0xFFFFFFFF, VI_SUCCESS, 0xFFFFFFFF},
        {"a carriage return to end reads", VI_ATTR_TERMCHAR, '\r', VI_SUCCESS, '\r'},
        {"a termination character wider than a byte", VI_ATTR_TERMCHAR, 0x10D, VI_ERROR_NSUP_ATTR_STATE, '\n'},
        {"reads ending at it", VI_ATTR_TERMCHAR_EN, VI_TRUE, VI_SUCCESS, VI_TRUE},
        {"a boolean that is neither", VI_ATTR_TERMCHAR_EN, 2, VI_ERROR_NSUP_ATTR_STATE, VI_FALSE},
        {"writes without END", VI_ATTR_SEND_END_EN, VI_FALSE, VI_SUCCESS, VI_FALSE},
        {"the slot", VI_ATTR_SLOT, 7, VI_ERROR_ATTR_READONLY, 1},
        {"the lock state", VI_ATTR_RSRC_LOCK_STATE, VI_EXCLUSIVE_LOCK, VI_ERROR_ATTR_READONLY, VI_NO_LOCK},
        {"the resource name", VI_ATTR_RSRC_NAME, 0, VI_ERROR_ATTR_READONLY, std::nullopt},
        {"an attribute nobody defined", 0x3FFF0001, 1, VI_ERROR_NSUP_ATTR, std::nullopt},
    };
    for (const Case& c : cases) {
        SetUp();
        EXPECT_EQ(Hex(viSetAttribute(vi_, c.attribute, c.value)), Hex(c.status)) << c.name;
        if (c.after) {
            EXPECT_EQ(Get(vi_, c.attribute), *c.after) << c.name;
        }
    }
}

TEST_F(SessionSettings, OnlyInstrumentSessionsHaveSettings)
{
    ViFindList list = VI_NULL;
    char desc[VI_FIND_BUFLEN] = {};
    ASSERT_EQ(viFindRsrc(rm_, "?*", &list, nullptr, desc), VI_SUCCESS);
    EXPECT_EQ(Hex(viSetAttribute(rm_, VI_ATTR_TMO_VALUE, 10)), Hex(VI_ERROR_NSUP_ATTR)) << "resource manager";
    EXPECT_EQ(Hex(viSetAttribute(rm_, VI_ATTR_RSRC_SPEC_VERSION, 0)), Hex(VI_ERROR_ATTR_READONLY)) << "its version";
    EXPECT_EQ(Hex(viSetAttribute(list, VI_ATTR_TMO_VALUE, 10)), Hex(VI_ERROR_NSUP_ATTR)) << "find list";
    EXPECT_EQ(Hex(viSetAttribute(0xDEADBEEF, VI_ATTR_TMO_VALUE, 10)), Hex(VI_ERROR_INV_OBJECT)) << "no object";
}

TEST_F(SessionSettings, EachSessionKeepsItsOwnSettings)
{
    const ViSession other = Open(rm_, kResource);
    ASSERT_EQ(viSetAttribute(vi_, VI_ATTR_TMO_VALUE, 9000), VI_SUCCESS);
    ASSERT_EQ(viSetAttribute(vi_, VI_ATTR_TERMCHAR_EN, VI_TRUE), VI_SUCCESS);
    EXPECT_EQ(Get(other, VI_ATTR_TMO_VALUE), 2000U);
    EXPECT_EQ(Get(other, VI_ATTR_TERMCHAR_EN), VI_FALSE);
    EXPECT_EQ(Get(Open(rm_, kResource), VI_ATTR_TMO_VALUE), 2000U) << "a new session starts afresh";
}

// Nothing is ever enabled, so a client that switches every event off before it closes is told so.
TEST_F(SessionSettings, EventsAreNeverEnabledSoNoneIsDisabledOrDiscarded)
{
    struct Case {
        const char* name;
        bool onManager;
        ViEventType type;
        ViUInt16 mechanism;
        ViStatus disabled;
        ViStatus discarded;
    };
    const Case cases[] = {
        {"every enabled event", false, VI_ALL_ENABLED_EVENTS, VI_ALL_MECH, VI_SUCCESS_EVENT_DIS,
         VI_SUCCESS_QUEUE_EMPTY},
        {"service requests queued", false, VI_EVENT_SERVICE_REQ, VI_QUEUE, VI_SUCCESS_EVENT_DIS,
         VI_SUCCESS_QUEUE_EMPTY},
        {"handlers of VXI signals", false, VI_EVENT_VXI_SIGP, VI_HNDLR, VI_SUCCESS_EVENT_DIS, VI_ERROR_INV_MECH},
        {"no mechanism", false, VI_EVENT_TRIG, 0, VI_ERROR_INV_MECH, VI_ERROR_INV_MECH},
        {"a mechanism nobody defined", false, VI_EVENT_TRIG, 8, VI_ERROR_INV_MECH, VI_ERROR_INV_MECH},
        {"an event nobody defined", false, 0x3FFF2FFF, VI_QUEUE, VI_ERROR_INV_EVENT, VI_ERROR_INV_EVENT},
        {"exceptions of the manager", true, VI_EVENT_EXCEPTION, VI_ALL_MECH, VI_SUCCESS_EVENT_DIS,
         VI_SUCCESS_QUEUE_EMPTY},
        {"an instrument's event at the manager", true, VI_EVENT_SERVICE_REQ, VI_QUEUE, VI_ERROR_INV_EVENT,
         VI_ERROR_INV_EVENT},
    };
    for (const Case& c : cases) {
        const ViSession session = c.onManager ? rm_ : vi_;
        EXPECT_EQ(Hex(viDisableEvent(session, c.type, c.mechanism)), Hex(c.disabled)) << c.name;
        EXPECT_EQ(Hex(viDiscardEvents(session, c.type, c.mechanism)), Hex(c.discarded)) << c.name;
    }
    EXPECT_EQ(Hex(viDisableEvent(0xDEADBEEF, VI_ALL_ENABLED_EVENTS, VI_ALL_MECH)), Hex(VI_ERROR_INV_OBJECT));
}

}  // namespace
}  // namespace stratigon::sim::test
