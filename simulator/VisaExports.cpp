#include "simulator/VisaExports.h"

#include "simulator/Simulator.h"

#include <mutex>
#include <new>

using stratigon::sim::Simulator;

namespace {

// A C caller cannot see a C++ exception: every entry point turns one into a status.
template <class Call>
ViStatus Guarded(Call&& call) noexcept
{
    try {
        Simulator& simulator = Simulator::Instance();
        const std::lock_guard<std::mutex> hold(simulator.Mutex());
        return call(simulator);
    } catch (const std::bad_alloc&) {
        return VI_ERROR_ALLOC;
    } catch (...) {
        return VI_ERROR_SYSTEM_ERROR;
    }
}

}  // namespace

extern "C" {

ViStatus VISA_CALL viOpenDefaultRM(ViSession* vi)
{
    return Guarded([&](Simulator& s) { return s.OpenDefaultRM(vi); });
}

ViStatus VISA_CALL viFindRsrc(ViSession sesn, ViConstString expr, ViFindList* list, ViUInt32* retCnt, ViChar desc[])
{
    return Guarded([&](Simulator& s) { return s.FindRsrc(sesn, expr, list, retCnt, desc); });
}

ViStatus VISA_CALL viFindNext(ViFindList list, ViChar desc[])
{
    return Guarded([&](Simulator& s) { return s.FindNext(list, desc); });
}

ViStatus VISA_CALL viOpen(ViSession sesn, ViConstRsrc name, ViAccessMode mode, ViUInt32 /*timeout*/, ViSession* vi)
{
    return Guarded([&](Simulator& s) { return s.Open(sesn, name, mode, vi); });
}

ViStatus VISA_CALL viClose(ViObject vi)
{
    return Guarded([&](Simulator& s) { return s.Close(vi); });
}

ViStatus VISA_CALL viGetAttribute(ViObject vi, ViAttr attr, void* value)
{
    return Guarded([&](Simulator& s) { return s.GetAttribute(vi, attr, value); });
}

ViStatus VISA_CALL viLock(ViSession vi, ViAccessMode lockType, ViUInt32 /*timeout*/, ViConstKeyId requestedKey,
                          ViChar accessKey[])
{
    return Guarded([&](Simulator& s) { return s.Lock(vi, lockType, requestedKey, accessKey); });
}

ViStatus VISA_CALL viUnlock(ViSession vi)
{
    return Guarded([&](Simulator& s) { return s.Unlock(vi); });
}

ViStatus VISA_CALL viRead(ViSession vi, ViPBuf buf, ViUInt32 cnt, ViUInt32* retCnt)
{
    return Guarded([&](Simulator& s) { return s.Read(vi, buf, cnt, retCnt); });
}

ViStatus VISA_CALL viWrite(ViSession vi, ViConstBuf buf, ViUInt32 cnt, ViUInt32* retCnt)
{
    return Guarded([&](Simulator& s) { return s.Write(vi, buf, cnt, retCnt); });
}

ViStatus VISA_CALL viStatusDesc(ViObject /*vi*/, ViStatus status, ViChar desc[])
{
    return Guarded([&](Simulator& s) { return s.StatusDesc(status, desc); });
}

ViStatus VISA_CALL viParseRsrc(ViSession rmSesn, ViConstRsrc rsrcName, ViUInt16* intfType, ViUInt16* intfNum)
{
    return Guarded([&](Simulator& s) {
        return s.ParseRsrc(rmSesn, rsrcName, intfType, intfNum, nullptr, nullptr, nullptr);
    });
}

ViStatus VISA_CALL viParseRsrcEx(ViSession rmSesn, ViConstRsrc rsrcName, ViUInt16* intfType, ViUInt16* intfNum,
                                 ViChar rsrcClass[], ViChar expandedUnaliasedName[], ViChar aliasIfExists[])
{
    return Guarded([&](Simulator& s) {
        return s.ParseRsrc(rmSesn, rsrcName, intfType, intfNum, rsrcClass, expandedUnaliasedName, aliasIfExists);
    });
}

ViStatus VISA_CALL viSetAttribute(ViObject vi, ViAttr attrName, stratigon::sim::ViAttrState attrValue)
{
    return Guarded([&](Simulator& s) { return s.SetAttribute(vi, attrName, attrValue); });
}

ViStatus VISA_CALL viClear(ViSession vi)
{
    return Guarded([&](Simulator& s) { return s.Clear(vi); });
}

ViStatus VISA_CALL viFlush(ViSession vi, ViUInt16 mask)
{
    return Guarded([&](Simulator& s) { return s.Flush(vi, mask); });
}

ViStatus VISA_CALL viDisableEvent(ViSession vi, stratigon::sim::ViEventType eventType, ViUInt16 mechanism)
{
    return Guarded([&](Simulator& s) { return s.DisableEvent(vi, eventType, mechanism); });
}

ViStatus VISA_CALL viDiscardEvents(ViSession vi, stratigon::sim::ViEventType eventType, ViUInt16 mechanism)
{
    return Guarded([&](Simulator& s) { return s.DiscardEvents(vi, eventType, mechanism); });
}

}  // extern "C"
