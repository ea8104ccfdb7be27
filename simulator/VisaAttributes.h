// Attribute ids, event types and other values of the published VISA binding that a general
// VISA client uses and the program itself does not, beside those of instrument/VisaTypes.h.
#pragma once

#include "instrument/VisaTypes.h"

#include <cstdint>

namespace stratigon::sim {

// viSetAttribute's value is as wide as a pointer on 64-bit systems, so that attributes
// holding addresses fit; callers pass it in a 64-bit register there.
#if defined(_WIN64) || defined(__LP64__)
typedef std::uint64_t ViAttrState;
#else
typedef ViUInt32 ViAttrState;
#endif
typedef ViUInt16 ViBoolean;
typedef ViUInt32 ViVersion;
typedef ViUInt32 ViEventType;

constexpr ViBoolean VI_FALSE = 0;
constexpr ViBoolean VI_TRUE = 1;
constexpr ViAccessMode VI_NO_LOCK = 0;

constexpr ViAttr VI_ATTR_RSRC_CLASS = 0xBFFF0001;
constexpr ViAttr VI_ATTR_RSRC_NAME = 0xBFFF0002;
constexpr ViAttr VI_ATTR_RSRC_IMPL_VERSION = 0x3FFF0003;
constexpr ViAttr VI_ATTR_RSRC_LOCK_STATE = 0x3FFF0004;
constexpr ViAttr VI_ATTR_SEND_END_EN = 0x3FFF0016;
constexpr ViAttr VI_ATTR_TERMCHAR = 0x3FFF0018;
constexpr ViAttr VI_ATTR_TERMCHAR_EN = 0x3FFF0038;
constexpr ViAttr VI_ATTR_RM_SESSION = 0x3FFF00C4;
constexpr ViAttr VI_ATTR_RSRC_SPEC_VERSION = 0x3FFF0170;
constexpr ViAttr VI_ATTR_INTF_TYPE = 0x3FFF0171;
constexpr ViAttr VI_ATTR_RSRC_MANF_NAME = 0xBFFF0174;

constexpr ViUInt16 VI_INTF_VXI = 2;
constexpr ViUInt16 VI_INTF_GPIB_VXI = 3;

constexpr ViEventType VI_EVENT_IO_COMPLETION = 0x3FFF2009;
constexpr ViEventType VI_EVENT_TRIG = 0xBFFF200A;
constexpr ViEventType VI_EVENT_SERVICE_REQ = 0x3FFF200B;
constexpr ViEventType VI_EVENT_EXCEPTION = 0xBFFF200E;
constexpr ViEventType VI_EVENT_VXI_SIGP = 0x3FFF2020;
constexpr ViEventType VI_EVENT_VXI_VME_INTR = 0xBFFF2021;
constexpr ViEventType VI_ALL_ENABLED_EVENTS = 0x3FFF7FFF;

constexpr ViUInt16 VI_QUEUE = 1;
constexpr ViUInt16 VI_HNDLR = 2;
constexpr ViUInt16 VI_SUSPEND_HNDLR = 4;
constexpr ViUInt16 VI_ALL_MECH = 0xFFFF;

}  // namespace stratigon::sim
