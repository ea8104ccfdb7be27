// Resource manager sessions, resource search, opening, attributes, closing and status texts
// of the simulated library, as a program scanning a VXI system meets them.
#include "SimulatorTest.h"
#include "simulator/VisaAttributes.h"
#include "simulator/VisaExports.h"
#include "simulator/VisaStatus.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <utility>
#include <vector>

namespace stratigon::sim::test {
namespace {

const char* const kBench = R"({ "modules": [
  { "interface": 0, "slot": 3, "logical_address": 24, "model_code": 1025 },
  { "interface": 1, "slot": 2, "logical_address": 16, "model_code": 1985, "kind": "pattern-generator" },
  { "interface": 0, "slot": 8, "logical_address": 64, "model_code": 1500, "kind": "other" },
  { "interface": 2, "slot": 11, "logical_address": 200, "model_code": 2040, "resource": "VXI2::BACKPLANE" }
] })";

class VisaSession : public SimulatorTest {
protected:
    void SetUp() override { UseBench(kBench); }

    // Every descriptor a search hands out, first one included, or the failing status.
    std::vector<std::string> FindAll(const char* expression, ViStatus* status = nullptr)
    {
        const ViSession rm = OpenRm();
        ViFindList list = VI_NULL;
        ViUInt32 count = 0;
        char desc[VI_FIND_BUFLEN] = {};
        const ViStatus found = viFindRsrc(rm, expression, &list, &count, desc);
        if (status != nullptr) {
            *status = found;
        }
        if (found != VI_SUCCESS) {
            return {};
        }
        std::vector<std::string> names{desc};
        while (names.size() < count && viFindNext(list, desc) == VI_SUCCESS) {
            names.emplace_back(desc);
        }
        EXPECT_EQ(names.size(), count) << "viFindRsrc promised " << count << " resources";
        return names;
    }
};

TEST_F(VisaSession, EachResourceManagerSessionIsNewAndNonZero)
{
    const ViSession first = OpenRm();
    const ViSession second = OpenRm();
    EXPECT_NE(first, VI_NULL);
    EXPECT_NE(second, VI_NULL);
    EXPECT_NE(first, second);
}

TEST_F(VisaSession, TheSearchListsInstrumentsInBenchOrderThenSaysNotFound)
{
    const ViSession rm = OpenRm();
    ViFindList list = VI_NULL;
    ViUInt32 count = 0;
    char desc[VI_FIND_BUFLEN] = {};
    ASSERT_EQ(viFindRsrc(rm, "?*INSTR", &list, &count, desc), VI_SUCCESS);
    EXPECT_STREQ(desc, "VXI0::24::INSTR");
    EXPECT_EQ(count, 3U);
    ASSERT_EQ(viFindNext(list, desc), VI_SUCCESS);
    EXPECT_STREQ(desc, "VXI1::16::INSTR");
    ASSERT_EQ(viFindNext(list, desc), VI_SUCCESS);
    EXPECT_STREQ(desc, "VXI0::64::INSTR");
    EXPECT_EQ(viFindNext(list, desc), VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(viFindNext(list, desc), VI_ERROR_RSRC_NFOUND) << "past the end stays past the end";
    EXPECT_STREQ(desc, "VXI0::64::INSTR") << "a failed step leaves the descriptor alone";
}

TEST_F(VisaSession, SearchExpressionsSelectResources)
{
    struct Case {
        const char* expression;
        ViStatus status;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"?*INSTR", VI_SUCCESS, {"VXI0::24::INSTR", "VXI1::16::INSTR", "VXI0::64::INSTR"}},
        {"?*", VI_SUCCESS, {"VXI0::24::INSTR", "VXI1::16::INSTR", "VXI0::64::INSTR", "VXI2::BACKPLANE"}},
        {"VXI0?*", VI_SUCCESS, {"VXI0::24::INSTR", "VXI0::64::INSTR"}},
        {"vxi1::16::instr", VI_SUCCESS, {"VXI1::16::INSTR"}},
        {"VXI?::?4::INSTR", VI_SUCCESS, {"VXI0::24::INSTR", "VXI0::64::INSTR"}},
        {"GPIB?*INSTR", VI_ERROR_RSRC_NFOUND, {}},
        {"VXI[0-9]?*", VI_SUCCESS, {"VXI0::24::INSTR", "VXI1::16::INSTR", "VXI0::64::INSTR", "VXI2::BACKPLANE"}},
        {"vxi[^0]::?*", VI_SUCCESS, {"VXI1::16::INSTR", "VXI2::BACKPLANE"}},
        {"VXI?::[1-2]?::INSTR", VI_SUCCESS, {"VXI0::24::INSTR", "VXI1::16::INSTR"}},
        {"VXI[a-z]::?*", VI_ERROR_RSRC_NFOUND, {}},
        {"?*::(24|64)::INSTR", VI_SUCCESS, {"VXI0::24::INSTR", "VXI0::64::INSTR"}},
        {"VXI0?*|VXI2?*", VI_SUCCESS, {"VXI0::24::INSTR", "VXI0::64::INSTR", "VXI2::BACKPLANE"}},
        {"(VXI1)+::16::INSTR", VI_SUCCESS, {"VXI1::16::INSTR"}},
        {"VXI\\?::24::INSTR", VI_ERROR_RSRC_NFOUND, {}},
        {"?*INSTR{VI_ATTR_SLOT > 2}", VI_SUCCESS, {"VXI0::24::INSTR", "VXI0::64::INSTR"}},
        {"?* {VI_ATTR_MODEL_CODE == 0x7C1 || VI_ATTR_INTF_NUM == 2}", VI_SUCCESS,
         {"VXI1::16::INSTR", "VXI2::BACKPLANE"}},
        {"?*{!(VI_ATTR_VXI_LA <= 24) && VI_ATTR_RSRC_CLASS == \"INSTR\"}", VI_SUCCESS, {"VXI0::64::INSTR"}},
        {"?*{VI_ATTR_SLOT >= 2 && VI_ATTR_SLOT != 3 && VI_ATTR_SLOT < 8}", VI_SUCCESS, {"VXI1::16::INSTR"}},
        {"?*INSTR{VI_ATTR_RSRC_LOCK_STATE == 1}", VI_ERROR_RSRC_NFOUND, {}},
        {"*INSTR", VI_ERROR_INV_EXPR, {}},
        {"?**", VI_ERROR_INV_EXPR, {}},
        {"VXI[9-0]?*", VI_ERROR_INV_EXPR, {}},
        {"VXI[]?*", VI_ERROR_INV_EXPR, {}},
        {"VXI(0?*", VI_ERROR_INV_EXPR, {}},
        {"VXI0)?*", VI_ERROR_INV_EXPR, {}},
        {"VXI0?*|", VI_ERROR_INV_EXPR, {}},
        {"?*{VI_ATTR_TMO_VALUE > 0}", VI_ERROR_INV_EXPR, {}},
        {"?*{VI_ATTR_SLOT > \"3\"}", VI_ERROR_INV_EXPR, {}},
        {"?*{VI_ATTR_RSRC_NAME > \"A\"}", VI_ERROR_INV_EXPR, {}},
        {"?*{VI_ATTR_NO_SUCH_THING == 1}", VI_ERROR_INV_EXPR, {}},
        {"?*{VI_ATTR_SLOT == 3", VI_ERROR_INV_EXPR, {}},
        {"?*{VI_ATTR_SLOT == 3} ?*", VI_ERROR_INV_EXPR, {}},
        {"?*{}", VI_ERROR_INV_EXPR, {}},
        {"", VI_ERROR_INV_EXPR, {}},
    };
    for (const Case& c : cases) {
        ViStatus status = VI_SUCCESS;
        const auto names = FindAll(c.expression, &status);
        EXPECT_EQ(Hex(status), Hex(c.status)) << "expression \"" << c.expression << "\"";
        EXPECT_EQ(names, c.names) << "expression \"" << c.expression << "\"";
    }
}

TEST_F(VisaSession, AnEmptyBenchFindsNothing)
{
    for (const char* bench : {R"({ "modules": [] })", "{}"}) {
        UseBench(bench);
        const ViSession rm = OpenRm();
        ViFindList list = 0xDEAD;
        ViUInt32 count = 77;
        char desc[VI_FIND_BUFLEN] = {};
        EXPECT_EQ(Hex(viFindRsrc(rm, "?*INSTR", &list, &count, desc)), Hex(VI_ERROR_RSRC_NFOUND)) << bench;
        EXPECT_EQ(count, 0U) << bench;
    }
}

TEST_F(VisaSession, AFindNextFaultFailsAfterTheNamedResourceAndKeepsFailing)
{
    UseBench(R"({ "modules": [ {}, {}, {} ], "faults": { "find_next_error": 1 } })");
    const ViSession rm = OpenRm();
    ViFindList list = VI_NULL;
    ViUInt32 count = 0;
    char desc[VI_FIND_BUFLEN] = {};
    ASSERT_EQ(viFindRsrc(rm, "?*INSTR", &list, &count, desc), VI_SUCCESS);
    EXPECT_EQ(count, 3U);
    ASSERT_EQ(viFindNext(list, desc), VI_SUCCESS);
    EXPECT_STREQ(desc, "VXI0::16::INSTR");
    EXPECT_EQ(Hex(viFindNext(list, desc)), Hex(VI_ERROR_SYSTEM_ERROR));
    EXPECT_EQ(Hex(viFindNext(list, desc)), Hex(VI_ERROR_SYSTEM_ERROR));
    EXPECT_STREQ(desc, "VXI0::16::INSTR");
}

TEST_F(VisaSession, AResourceManagerFaultRefusesEveryOpen)
{
    UseBench(R"({ "modules": [ {} ], "faults": { "open_default_rm_error": true } })");
    for (int attempt = 0; attempt < 2; ++attempt) {
        ViSession rm = 0xDEAD;
        EXPECT_EQ(Hex(viOpenDefaultRM(&rm)), Hex(VI_ERROR_SYSTEM_ERROR));
        EXPECT_EQ(rm, VI_NULL);
    }
}

TEST_F(VisaSession, OpeningAResource)
{
    const ViSession rm = OpenRm();
    const ViSession instrument = Open(rm, "VXI0::24::INSTR");
    struct Case {
        const char* name;
        ViSession through;
        const char* resource;
        ViAccessMode mode;
        ViStatus status;
    };
    const Case cases[] = {
        {"a second session on the same resource", rm, "VXI0::24::INSTR", VI_NULL, VI_SUCCESS},
        {"a name in other letter case", rm, "vxi0::24::instr", VI_NULL, VI_SUCCESS},
        {"a resource the bench does not have", rm, "VXI0::99::INSTR", VI_NULL, VI_ERROR_RSRC_NFOUND},
        {"a short form of the name", rm, "vxi::24", VI_NULL, VI_SUCCESS},
        {"the full form of a name the bench shortens", rm, "VXI2::0::BACKPLANE", VI_NULL, VI_SUCCESS},
        {"a resource of an interface the bench lacks", rm, "GPIB0::5::INSTR", VI_NULL, VI_ERROR_RSRC_NFOUND},
        {"a name that is no resource string", rm, "VXI0::24::INSTR::7", VI_NULL, VI_ERROR_INV_RSRC_NAME},
        {"no name at all", rm, nullptr, VI_NULL, VI_ERROR_INV_RSRC_NAME},
        {"an access mode nobody defined", rm, "VXI0::24::INSTR", 0x80, VI_ERROR_INV_ACC_MODE},
        {"an instrument session instead of a resource manager", instrument, "VXI0::24::INSTR", VI_NULL,
         VI_ERROR_INV_OBJECT},
    };
    std::set<ViSession> sessions{instrument};
    for (const Case& c : cases) {
        ViSession vi = 0xDEAD;
        EXPECT_EQ(Hex(viOpen(c.through, c.resource, c.mode, VI_NULL, &vi)), Hex(c.status)) << c.name;
        EXPECT_EQ(vi == VI_NULL, c.status < 0) << c.name << ": a failed open leaves VI_NULL, a good one a session";
        EXPECT_TRUE(c.status < 0 || sessions.insert(vi).second) << c.name << ": every open gives a new session";
    }
}

TEST_F(VisaSession, ResourceNamesParseIntoTheirParts)
{
    struct Case {
        const char* name;
        ViStatus status;
        ViUInt16 type = 0;
        ViUInt16 board = 0;
        const char* rsrcClass = "";
        const char* expanded = "";
    };
    const Case cases[] = {
        {"VXI0::24::INSTR", VI_SUCCESS, VI_INTF_VXI, 0, "INSTR", "VXI0::24::INSTR"},
        {"vxi::24", VI_SUCCESS, VI_INTF_VXI, 0, "INSTR", "VXI0::24::INSTR"},
        {"VXI3::007::instr", VI_SUCCESS, VI_INTF_VXI, 3, "INSTR", "VXI3::7::INSTR"},
        {"GPIB-VXI1::64", VI_SUCCESS, VI_INTF_GPIB_VXI, 1, "INSTR", "GPIB-VXI1::64::INSTR"},
        {"VXI::BACKPLANE", VI_SUCCESS, VI_INTF_VXI, 0, "BACKPLANE", "VXI0::0::BACKPLANE"},
        {"VXI2::5::backplane", VI_SUCCESS, VI_INTF_VXI, 2, "BACKPLANE", "VXI2::5::BACKPLANE"},
        {"VXI0::MEMACC", VI_SUCCESS, VI_INTF_VXI, 0, "MEMACC", "VXI0::MEMACC"},
        {"VXI0::SERVANT", VI_SUCCESS, VI_INTF_VXI, 0, "SERVANT", "VXI0::SERVANT"},
        {"VXI0::99::INSTR", VI_SUCCESS, VI_INTF_VXI, 0, "INSTR", "VXI0::99::INSTR"},
        {"GPIB-VXI0::SERVANT", VI_ERROR_INV_RSRC_NAME},
        {"VXI0::256::INSTR", VI_ERROR_INV_RSRC_NAME},
        {"VXI0::-1::INSTR", VI_ERROR_INV_RSRC_NAME},
        {"VXI0::24::MEMACC", VI_ERROR_INV_RSRC_NAME},
        {"VXI0::INSTR", VI_ERROR_INV_RSRC_NAME},
        {"VXI0", VI_ERROR_INV_RSRC_NAME},
        {"VXIX::24", VI_ERROR_INV_RSRC_NAME},
        {"", VI_ERROR_INV_RSRC_NAME},
        {"GPIB0::5::INSTR", VI_ERROR_RSRC_NFOUND},
        {"TCPIP::192.168.0.2::INSTR", VI_ERROR_RSRC_NFOUND},
    };
    const ViSession rm = OpenRm();
    for (const Case& c : cases) {
        ViUInt16 type = 0xDEAD;
        ViUInt16 board = 0xDEAD;
        char rsrcClass[VI_FIND_BUFLEN] = "untouched";
        char expanded[VI_FIND_BUFLEN] = "untouched";
        char alias[VI_FIND_BUFLEN] = "untouched";
        ASSERT_EQ(Hex(viParseRsrcEx(rm, c.name, &type, &board, rsrcClass, expanded, alias)), Hex(c.status)) << c.name;
        ViUInt16 shortType = 0xDEAD;
        ViUInt16 shortBoard = 0xDEAD;
        EXPECT_EQ(Hex(viParseRsrc(rm, c.name, &shortType, &shortBoard)), Hex(c.status)) << c.name;
        if (c.status == VI_SUCCESS) {
            EXPECT_EQ(std::make_pair(type, board), std::make_pair(c.type, c.board)) << c.name;
            EXPECT_EQ(std::make_pair(shortType, shortBoard), std::make_pair(c.type, c.board)) << c.name;
            EXPECT_STREQ(rsrcClass, c.rsrcClass) << c.name;
            EXPECT_STREQ(expanded, c.expanded) << c.name;
            EXPECT_STREQ(alias, "") << c.name << ": the simulated bench has no aliases";
        }
    }
    ViUInt16 type = 0;
    ViUInt16 board = 0;
    const ViSession vi = Open(rm, "VXI0::24::INSTR");
    EXPECT_EQ(Hex(viParseRsrc(vi, "VXI0::24::INSTR", &type, &board)), Hex(VI_ERROR_INV_OBJECT)) << "not a manager";
    EXPECT_EQ(Hex(viParseRsrc(rm, nullptr, &type, &board)), Hex(VI_ERROR_INV_RSRC_NAME));
    EXPECT_EQ(Hex(viParseRsrc(rm, "VXI0::24::INSTR", nullptr, &board)), Hex(VI_ERROR_USER_BUF));
}

TEST_F(VisaSession, AnOpenFaultFailsWithAnIoError)
{
    UseBench(R"({ "modules": [ { "faults": { "open_error": true } } ] })");
    ViSession vi = 0xDEAD;
    EXPECT_EQ(Hex(viOpen(OpenRm(), "VXI0::8::INSTR", VI_NULL, VI_NULL, &vi)), Hex(VI_ERROR_IO));
    EXPECT_EQ(vi, VI_NULL);
}

TEST_F(VisaSession, AttributesCarryTheBenchValuesInTheirOwnWidth)
{
    const ViSession rm = OpenRm();
    const ViSession vi = Open(rm, "VXI1::16::INSTR");
    struct Case {
        const char* name;
        ViObject object;
        ViAttr attribute;
        std::uint32_t value;
        std::size_t width;
    };
    const Case cases[] = {
        {"interface number", vi, VI_ATTR_INTF_NUM, 1, 2},
        {"logical address", vi, VI_ATTR_VXI_LA, 16, 2},
        {"slot", vi, VI_ATTR_SLOT, 2, 2},
        {"model code", vi, VI_ATTR_MODEL_CODE, 1985, 2},
        {"time-out", vi, VI_ATTR_TMO_VALUE, 2000, 4},
        {"interface type", vi, VI_ATTR_INTF_TYPE, VI_INTF_VXI, 2},
        {"lock state", vi, VI_ATTR_RSRC_LOCK_STATE, VI_NO_LOCK, 4},
        {"resource manager", vi, VI_ATTR_RM_SESSION, rm, 4},
        {"termination character", vi, VI_ATTR_TERMCHAR, '\n', 1},
        {"termination character enabled", vi, VI_ATTR_TERMCHAR_EN, VI_FALSE, 2},
        {"END sent with writes", vi, VI_ATTR_SEND_END_EN, VI_TRUE, 2},
        {"library version", vi, VI_ATTR_RSRC_IMPL_VERSION, 0x00100000, 4},
        {"VISA version", vi, VI_ATTR_RSRC_SPEC_VERSION, 0x00500000, 4},
        {"library version of the manager", rm, VI_ATTR_RSRC_IMPL_VERSION, 0x00100000, 4},
        {"VISA version of the manager", rm, VI_ATTR_RSRC_SPEC_VERSION, 0x00500000, 4},
        {"lock state of the manager", rm, VI_ATTR_RSRC_LOCK_STATE, VI_NO_LOCK, 4},
    };
    for (const Case& c : cases) {
        unsigned char bytes[8];
        std::memset(bytes, 0xAB, sizeof bytes);
        ASSERT_EQ(Hex(viGetAttribute(c.object, c.attribute, bytes)), Hex(VI_SUCCESS)) << c.name;
        std::uint32_t value = 0;
        std::memcpy(&value, bytes, c.width);
        EXPECT_EQ(value, c.value) << c.name;
        for (std::size_t i = c.width; i < sizeof bytes; ++i) {
            EXPECT_EQ(bytes[i], 0xAB) << c.name << ": byte " << i << " lies beyond the attribute";
        }
    }
}

TEST_F(VisaSession, TextAttributesNameTheResourceAndTheLibrary)
{
    struct Case {
        const char* resource;
        ViAttr attribute;
        const char* text;
    };
    const Case cases[] = {
        {"VXI1::16::INSTR", VI_ATTR_RSRC_NAME, "VXI1::16::INSTR"},
        {"vxi1::16", VI_ATTR_RSRC_NAME, "VXI1::16::INSTR"},
        {"VXI1::16::INSTR", VI_ATTR_RSRC_CLASS, "INSTR"},
        {"VXI2::BACKPLANE", VI_ATTR_RSRC_CLASS, "BACKPLANE"},
        {"VXI1::16::INSTR", VI_ATTR_RSRC_MANF_NAME, "KVX Stratigon simulated VXI bench"},
    };
    for (const Case& c : cases) {
        char text[VI_FIND_BUFLEN] = {};
        EXPECT_EQ(Hex(viGetAttribute(Open(c.resource), c.attribute, text)), Hex(VI_SUCCESS)) << Hex(c.attribute);
        EXPECT_STREQ(text, c.text) << c.resource << " " << Hex(c.attribute);
    }
}

TEST_F(VisaSession, AttributesTheLibraryDoesNotHaveAreNotSupported)
{
    const ViSession rm = OpenRm();
    const ViSession vi = Open(rm, "VXI0::24::INSTR");
    ViUInt32 value = 0;
    EXPECT_EQ(Hex(viGetAttribute(vi, 0x3FFF0001, &value)), Hex(VI_ERROR_NSUP_ATTR)) << "unknown attribute";
    for (const ViAttr attribute : {VI_ATTR_SLOT, VI_ATTR_TMO_VALUE, VI_ATTR_RSRC_NAME, VI_ATTR_RM_SESSION}) {
        EXPECT_EQ(Hex(viGetAttribute(rm, attribute, &value)), Hex(VI_ERROR_NSUP_ATTR)) << "manager " << Hex(attribute);
    }
    ViFindList list = VI_NULL;
    char desc[VI_FIND_BUFLEN] = {};
    ASSERT_EQ(viFindRsrc(rm, "?*", &list, nullptr, desc), VI_SUCCESS);
    EXPECT_EQ(Hex(viGetAttribute(list, VI_ATTR_RSRC_IMPL_VERSION, &value)), Hex(VI_ERROR_NSUP_ATTR)) << "find list";

    UseBench(R"({ "modules": [ { "faults": { "attribute_error": true } } ] })");
    const ViSession faulty = Open("VXI0::8::INSTR");
    for (const ViAttr attribute : {VI_ATTR_INTF_NUM, VI_ATTR_VXI_LA, VI_ATTR_SLOT, VI_ATTR_MODEL_CODE}) {
        EXPECT_EQ(Hex(viGetAttribute(faulty, attribute, &value)), Hex(VI_ERROR_NSUP_ATTR)) << Hex(attribute);
    }
}

TEST_F(VisaSession, ClosingTheResourceManagerClosesEverythingOpenedThroughIt)
{
    const ViSession rm = OpenRm();
    const ViSession vi = Open(rm, "VXI0::24::INSTR");
    ViFindList list = VI_NULL;
    ViUInt32 count = 0;
    char desc[VI_FIND_BUFLEN] = {};
    ASSERT_EQ(viFindRsrc(rm, "?*INSTR", &list, &count, desc), VI_SUCCESS);
    ASSERT_EQ(viLock(vi, VI_EXCLUSIVE_LOCK, 0, nullptr, nullptr), VI_SUCCESS);
    const ViSession otherRm = OpenRm();
    const ViSession other = Open(otherRm, "VXI0::24::INSTR");

    ASSERT_EQ(viClose(rm), VI_SUCCESS);

    ViUInt16 value = 0;
    ViUInt32 done = 0;
    unsigned char buffer[16] = {};
    const std::pair<const char*, std::function<ViStatus()>> calls[] = {
        {"viWrite", [&] { return viWrite(vi, reinterpret_cast<ViConstBuf>("*IDN?"), 5, &done); }},
        {"viRead", [&] { return viRead(vi, buffer, sizeof buffer, &done); }},
        {"viGetAttribute", [&] { return viGetAttribute(vi, VI_ATTR_SLOT, &value); }},
        {"viLock", [&] { return viLock(vi, VI_SHARED_LOCK, 0, "key", nullptr); }},
        {"viUnlock", [&] { return viUnlock(vi); }},
        {"viFindNext", [&] { return viFindNext(list, desc); }},
        {"viFindRsrc", [&] { return viFindRsrc(rm, "?*INSTR", nullptr, nullptr, desc); }},
        {"viOpen", [&] { ViSession s; return viOpen(rm, "VXI0::24::INSTR", VI_NULL, VI_NULL, &s); }},
        {"viClose of the session", [&] { return viClose(vi); }},
        {"viClose of the find list", [&] { return viClose(list); }},
        {"viClose of the resource manager", [&] { return viClose(rm); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_EQ(Hex(call()), Hex(VI_ERROR_INV_OBJECT)) << name << " after the resource manager was closed";
    }
    EXPECT_EQ(Ask(other, "*IDN?"), "QUORVALIS,KVX7L1A,B012345,FVER:4.2.1") << "other managers' sessions stay";
    EXPECT_EQ(Hex(viLock(other, VI_EXCLUSIVE_LOCK, 0, nullptr, nullptr)), Hex(VI_SUCCESS)) << "the lock went too";
}

TEST_F(VisaSession, ClosingOneSessionLeavesTheOthers)
{
    const ViSession rm = OpenRm();
    const ViSession first = Open(rm, "VXI0::24::INSTR");
    const ViSession second = Open(rm, "VXI1::16::INSTR");
    ASSERT_EQ(viClose(first), VI_SUCCESS);
    EXPECT_EQ(Hex(viClose(first)), Hex(VI_ERROR_INV_OBJECT)) << "closed twice";
    EXPECT_EQ(Ask(second, "*IDN?"), "QUORVALIS,KVX7PG2,C100200,FW:2.0.5");
    EXPECT_NE(Open(rm, "VXI0::24::INSTR"), VI_NULL) << "the resource manager still opens";
}

TEST_F(VisaSession, IdsThatWereNeverHandedOutAreInvalid)
{
    ViSession vi = VI_NULL;
    char desc[VI_FIND_BUFLEN];
    ViUInt16 value = 0;
    for (const ViObject id : {ViObject(0), ViObject(1), ViObject(0xDEADBEEF)}) {
        EXPECT_EQ(Hex(viClose(id)), Hex(VI_ERROR_INV_OBJECT)) << id;
        EXPECT_EQ(Hex(viOpen(id, "VXI0::24::INSTR", VI_NULL, VI_NULL, &vi)), Hex(VI_ERROR_INV_OBJECT)) << id;
        EXPECT_EQ(Hex(viFindRsrc(id, "?*INSTR", nullptr, nullptr, desc)), Hex(VI_ERROR_INV_OBJECT)) << id;
        EXPECT_EQ(Hex(viGetAttribute(id, VI_ATTR_SLOT, &value)), Hex(VI_ERROR_INV_OBJECT)) << id;
    }
}

TEST_F(VisaSession, NullPointersGiveAnErrorNotACrash)
{
    const ViSession rm = OpenRm();
    const ViSession vi = Open(rm, "VXI0::24::INSTR");
    ViFindList list = VI_NULL;
    ViUInt32 count = 0;
    char desc[VI_FIND_BUFLEN] = {};
    ASSERT_EQ(viFindRsrc(rm, "?*INSTR", &list, &count, desc), VI_SUCCESS);
    ASSERT_EQ(Send(vi, "*IDN?"), VI_SUCCESS);
    const std::pair<const char*, std::function<ViStatus()>> calls[] = {
        {"viOpenDefaultRM", [] { return viOpenDefaultRM(nullptr); }},
        {"viFindRsrc without descriptor", [&] { return viFindRsrc(rm, "?*INSTR", &list, &count, nullptr); }},
        {"viFindRsrc without expression", [&] { return viFindRsrc(rm, nullptr, &list, &count, desc); }},
        {"viFindNext", [&] { return viFindNext(list, nullptr); }},
        {"viOpen without session", [&] { return viOpen(rm, "VXI0::24::INSTR", VI_NULL, VI_NULL, nullptr); }},
        {"viGetAttribute", [&] { return viGetAttribute(vi, VI_ATTR_SLOT, nullptr); }},
        {"viRead", [&] { return viRead(vi, nullptr, 10, nullptr); }},
        {"viWrite", [&] { return viWrite(vi, nullptr, 5, nullptr); }},
        {"viStatusDesc", [&] { return viStatusDesc(vi, VI_ERROR_TMO, nullptr); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_LT(call(), 0) << name;
    }
    EXPECT_EQ(Hex(viFindRsrc(rm, "?*INSTR", nullptr, nullptr, desc)), Hex(VI_SUCCESS)) << "list and count are optional";
    EXPECT_EQ(Hex(viLock(vi, VI_SHARED_LOCK, 0, "key", nullptr)), Hex(VI_SUCCESS)) << "the access key is optional";
}

TEST_F(VisaSession, EveryStatusTheLibraryReturnsHasItsOwnText)
{
    const ViStatus statuses[] = {
        VI_SUCCESS, VI_SUCCESS_MAX_CNT, VI_SUCCESS_NESTED_SHARED, VI_SUCCESS_NESTED_EXCLUSIVE,
        VI_WARN_UNKNOWN_STATUS, VI_ERROR_SYSTEM_ERROR, VI_ERROR_INV_OBJECT, VI_ERROR_RSRC_LOCKED,
        VI_ERROR_INV_EXPR, VI_ERROR_RSRC_NFOUND, VI_ERROR_INV_RSRC_NAME, VI_ERROR_INV_ACC_MODE,
        VI_ERROR_TMO, VI_ERROR_NSUP_ATTR, VI_ERROR_INV_LOCK_TYPE, VI_ERROR_INV_ACCESS_KEY,
        VI_ERROR_ALLOC, VI_ERROR_IO, VI_ERROR_USER_BUF, VI_ERROR_SESN_NLOCKED,
        VI_SUCCESS_TERM_CHAR, VI_ERROR_LIBRARY_NFOUND, VI_ERROR_CONN_LOST, VI_SUCCESS_EVENT_DIS,
        VI_SUCCESS_QUEUE_EMPTY, VI_ERROR_NSUP_ATTR_STATE, VI_ERROR_ATTR_READONLY, VI_ERROR_INV_EVENT, VI_ERROR_INV_MECH,
    };
    std::set<std::string> texts;
    for (const ViStatus status : statuses) {
        char desc[300];
        std::memset(desc, 'x', sizeof desc);
        EXPECT_EQ(Hex(viStatusDesc(VI_NULL, status, desc)), Hex(VI_SUCCESS)) << Hex(status);
        const void* end = std::memchr(desc, '\0', VI_FIND_BUFLEN);
        ASSERT_NE(end, nullptr) << Hex(status) << ": the text must end within 256 characters";
        EXPECT_GT(std::strlen(desc), 10U) << Hex(status);
        EXPECT_TRUE(texts.insert(desc).second) << Hex(status) << " shares its text: " << desc;
    }
}

// Callers pass buffers of exactly 256 characters; whatever the text, the library writes no
// further, and what it writes is a C string the caller can use.
TEST_F(VisaSession, TextsLongerThanTheBufferAreCutToFitIt)
{
    const std::string longName = "VXI0::" + std::string(300, 'N') + "::INSTR";
    const std::string longKey(300, 'K');
    const std::string missingBench =
        (folder_.Path() / std::string(120, 'a') / std::string(120, 'b') / "bench.json").string();
    struct Case {
        const char* name;
        std::function<ViStatus(ViChar* buffer)> call;
        std::string text;  // what the caller would get with room enough
    };
    const Case cases[] = {
        {"viStatusDesc of a bench in a deep folder",
         [&](ViChar* buffer) {
             Configure({.benchPath = missingBench, .statePath = StatePath()});
             ViSession rm = VI_NULL;
             EXPECT_EQ(Hex(viOpenDefaultRM(&rm)), Hex(VI_ERROR_SYSTEM_ERROR));
             return viStatusDesc(VI_NULL, VI_ERROR_SYSTEM_ERROR, buffer);
         },
         "Simulated bench " + missingBench + ": the file does not exist"},
        {"viFindRsrc of a long resource name",
         [&](ViChar* buffer) {
             UseBench(R"({ "modules": [ { "resource": ")" + longName + R"(" } ] })");
             return viFindRsrc(OpenRm(), "?*", nullptr, nullptr, buffer);
         },
         longName},
        {"viFindNext of a long resource name",
         [&](ViChar* buffer) {
             UseBench(R"({ "modules": [ {}, { "resource": ")" + longName + R"(" } ] })");
             ViFindList list = VI_NULL;
             EXPECT_EQ(viFindRsrc(OpenRm(), "?*", &list, nullptr, buffer), VI_SUCCESS);
             return viFindNext(list, buffer);
         },
         longName},
        {"viLock with a long requested key",
         [&](ViChar* buffer) {
             UseBench(kBench);
             return viLock(Open("VXI0::24::INSTR"), VI_SHARED_LOCK, 0, longKey.c_str(), buffer);
         },
         longKey},
    };
    for (const Case& c : cases) {
        char buffer[VI_FIND_BUFLEN + 16];
        std::memset(buffer, 0xCD, sizeof buffer);
        EXPECT_EQ(Hex(c.call(buffer)), Hex(VI_SUCCESS)) << c.name;
        const char* end = std::find(buffer, buffer + VI_FIND_BUFLEN, '\0');
        EXPECT_EQ(std::string(static_cast<const char*>(buffer), end), c.text.substr(0, VI_FIND_BUFLEN - 1)) << c.name;
        EXPECT_EQ(buffer[VI_FIND_BUFLEN - 1], '\0') << c.name << ": the last character of the buffer ends the text";
        for (std::size_t i = VI_FIND_BUFLEN; i < sizeof buffer; ++i) {
            EXPECT_EQ(static_cast<unsigned char>(buffer[i]), 0xCD) << c.name << ": byte " << i << " lies past the buffer";
        }
    }
}

TEST_F(VisaSession, AnUnknownStatusIsNamedAndFlagged)
{
    char desc[VI_FIND_BUFLEN];
    EXPECT_EQ(Hex(viStatusDesc(VI_NULL, VisaStatus(0xBFFF1234), desc)), Hex(VI_WARN_UNKNOWN_STATUS));
    EXPECT_NE(std::string(desc).find("BFFF1234"), std::string::npos) << desc;
}

}  // namespace
}  // namespace stratigon::sim::test
