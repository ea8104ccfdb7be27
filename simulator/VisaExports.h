// The VISA C functions the simulated bench exports, declared as a vendor library declares
// them. Tests that link the simulator statically call these directly.
#pragma once

#include "instrument/VisaTypes.h"

#if defined(_WIN32) && defined(STRATIGON_SIM_BUILDING_DLL)
#define STRATIGON_SIM_EXPORT __declspec(dllexport)
#else
#define STRATIGON_SIM_EXPORT
#endif

extern "C" {
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viOpenDefaultRM(ViSession* vi);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viFindRsrc(ViSession sesn, ViConstString expr, ViFindList* list,
                                                   ViUInt32* retCnt, ViChar desc[]);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viFindNext(ViFindList list, ViChar desc[]);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viOpen(ViSession sesn, ViConstRsrc name, ViAccessMode mode,
                                               ViUInt32 timeout, ViSession* vi);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viClose(ViObject vi);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viGetAttribute(ViObject vi, ViAttr attr, void* value);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viLock(ViSession vi, ViAccessMode lockType, ViUInt32 timeout,
                                               ViConstKeyId requestedKey, ViChar accessKey[]);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viUnlock(ViSession vi);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viRead(ViSession vi, ViPBuf buf, ViUInt32 cnt, ViUInt32* retCnt);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viWrite(ViSession vi, ViConstBuf buf, ViUInt32 cnt, ViUInt32* retCnt);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viStatusDesc(ViObject vi, ViStatus status, ViChar desc[]);
}
