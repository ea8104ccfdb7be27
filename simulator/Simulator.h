// The simulated VISA library of this process: it loads the bench, hands out sessions and
// find lists, enforces locks and carries messages to the instruments, with VISA statuses.
#pragma once

#include "instrument/VisaTypes.h"
#include "simulator/AttributeTable.h"
#include "simulator/Bench.h"
#include "simulator/ResourceExpression.h"
#include "simulator/ResourceLock.h"
#include "simulator/SessionTable.h"
#include "simulator/SimulatorControl.h"
#include "simulator/Trace.h"
#include "simulator/VisaAttributes.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace stratigon::sim {

class Simulator {
public:
    static Simulator& Instance();
    // Every entry point holds this while it runs; the library is called from any thread.
    std::mutex& Mutex() { return mutex_; }

    // Nothing: follow the environment.
    void Configure(std::optional<BenchOptions> options);
    Trace& TraceLog() { return trace_; }

    ViStatus OpenDefaultRM(ViSession* vi);
    ViStatus FindRsrc(ViSession rm, ViConstString expr, ViFindList* list, ViUInt32* retCnt, ViChar desc[]);
    ViStatus FindNext(ViFindList list, ViChar desc[]);
    ViStatus Open(ViSession rm, ViConstRsrc name, ViAccessMode mode, ViSession* vi);
    ViStatus Close(ViObject vi);
    // Null texts are left out: viParseRsrc has none.
    ViStatus ParseRsrc(ViSession rm, ViConstRsrc name, ViUInt16* intfType, ViUInt16* intfNum, ViChar rsrcClass[],
                       ViChar expandedName[], ViChar alias[]);
    ViStatus GetAttribute(ViObject vi, ViAttr attr, void* value);
    ViStatus SetAttribute(ViObject vi, ViAttr attr, ViAttrState value);
    ViStatus Clear(ViSession vi);
    // Every write reaches the instrument at once and every read comes straight from it: there
    // are no buffers to flush, so a valid mask on a session the caller may use succeeds.
    ViStatus Flush(ViSession vi, ViUInt16 mask);
    // No simulated instrument raises an event, so none is ever enabled or queued: these check
    // their arguments, as a client switching events off before it closes a session expects.
    ViStatus DisableEvent(ViSession vi, ViEventType type, ViUInt16 mechanism);
    ViStatus DiscardEvents(ViSession vi, ViEventType type, ViUInt16 mechanism);
    ViStatus Lock(ViSession vi, ViAccessMode type, ViConstKeyId requestedKey, ViChar accessKey[]);
    ViStatus Unlock(ViSession vi);
    ViStatus Read(ViSession vi, ViPBuf buf, ViUInt32 cnt, ViUInt32* retCnt);
    ViStatus Write(ViSession vi, ViConstBuf buf, ViUInt32 cnt, ViUInt32* retCnt);
    ViStatus StatusDesc(ViStatus status, ViChar desc[]);

private:
    ViStatus EnsureBench();
    std::vector<std::size_t> Matching(const ResourceExpression& expression);
    ViStatus OpenSession(ViSession rm, std::size_t instrument, ViAccessMode mode, ViSession* vi);
    // The instrument behind a session, or null when the id is no open instrument session.
    Instrument* InstrumentOf(ViSession vi, std::size_t* index = nullptr);
    // What the attributes of a session, or of a bench resource in a search, are read from.
    AttributeTable::Source SourceOf(const SessionTable::Entry& entry);
    AttributeTable::Source SourceOf(std::size_t instrument);
    ViStatus CheckEvent(ViSession vi, ViEventType type, ViUInt16 mechanism, ViUInt16 mechanisms);
    static void WaitForAnswer(const Instrument& instrument);
    ViStatus BeginTransfer(ViSession vi, const void* buf, ViUInt32 cnt, ViUInt32* retCnt,
                           SessionTable::Entry*& session);

    std::mutex mutex_;
    std::optional<BenchOptions> options_;
    std::unique_ptr<Bench> bench_;
    std::vector<ResourceLock> locks_;
    SessionTable sessions_;
    Trace trace_;
    // Why the last bench load failed; viStatusDesc explains VI_ERROR_SYSTEM_ERROR with it.
    std::string benchProblem_;
    std::string lastReportedProblem_;
};

}  // namespace stratigon::sim
