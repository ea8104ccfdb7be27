// The VISA C functions the simulated bench exports, declared as a vendor library declares
// them: the eleven the program calls, and what a general VISA client needs besides (parsing
// resource names, setting attributes, clearing a device). Tests that link the simulator
// statically call these directly.
#pragma once

#include "instrument/VisaTypes.h"
#include "simulator/VisaAttributes.h"

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

STRATIGON_SIM_EXPORT ViStatus VISA_CALL viParseRsrc(ViSession rmSesn, ViConstRsrc rsrcName, ViUInt16* intfType,
                                                    ViUInt16* intfNum);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viParseRsrcEx(ViSession rmSesn, ViConstRsrc rsrcName, ViUInt16* intfType,
                                                      ViUInt16* intfNum, ViChar rsrcClass[],
                                                      ViChar expandedUnaliasedName[], ViChar aliasIfExists[]);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viSetAttribute(ViObject vi, ViAttr attrName,
                                                       stratigon::sim::ViAttrState attrValue);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viClear(ViSession vi);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viFlush(ViSession vi, ViUInt16 mask);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viDisableEvent(ViSession vi, stratigon::sim::ViEventType eventType,
                                                       ViUInt16 mechanism);
STRATIGON_SIM_EXPORT ViStatus VISA_CALL viDiscardEvents(ViSession vi, stratigon::sim::ViEventType eventType,
                                                        ViUInt16 mechanism);
}
