// Status values of the published VISA binding that only the simulated bench returns, beside
// the ones the program itself knows from instrument/VisaTypes.h.
#pragma once

#include "instrument/VisaTypes.h"

namespace stratigon::sim {

constexpr ViStatus VI_SUCCESS_EVENT_DIS = VisaStatus(0x3FFF0003);
constexpr ViStatus VI_SUCCESS_QUEUE_EMPTY = VisaStatus(0x3FFF0004);
constexpr ViStatus VI_SUCCESS_NESTED_EXCLUSIVE = VisaStatus(0x3FFF009A);
constexpr ViStatus VI_ERROR_NSUP_ATTR_STATE = VisaStatus(0xBFFF001E);
constexpr ViStatus VI_ERROR_ATTR_READONLY = VisaStatus(0xBFFF001F);
constexpr ViStatus VI_ERROR_INV_EVENT = VisaStatus(0xBFFF0026);
constexpr ViStatus VI_ERROR_INV_MECH = VisaStatus(0xBFFF0027);
constexpr ViStatus VI_ERROR_INV_MASK = VisaStatus(0xBFFF003D);
constexpr ViStatus VI_ERROR_USER_BUF = VisaStatus(0xBFFF0071);
// viFlush's buffers: each is flushed or discarded, not both.
constexpr ViUInt16 VI_READ_BUF = 0x01;
constexpr ViUInt16 VI_WRITE_BUF = 0x02;
constexpr ViUInt16 VI_READ_BUF_DISCARD = 0x04;
constexpr ViUInt16 VI_WRITE_BUF_DISCARD = 0x08;
constexpr ViUInt16 VI_IO_IN_BUF = 0x10;
constexpr ViUInt16 VI_IO_OUT_BUF = 0x20;
constexpr ViUInt16 VI_IO_IN_BUF_DISCARD = 0x40;
constexpr ViUInt16 VI_IO_OUT_BUF_DISCARD = 0x80;
// Accepted by viOpen beside VI_EXCLUSIVE_LOCK; the simulator has no configuration to load.
constexpr ViAccessMode VI_LOAD_CONFIG = 4;

}  // namespace stratigon::sim
