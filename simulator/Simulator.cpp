#include "simulator/Simulator.h"

#include "simulator/BenchError.h"
#include "simulator/BenchParser.h"
#include "simulator/BenchSource.h"
#include "simulator/StatusDescriptions.h"
#include "simulator/VisaStatus.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <thread>

namespace stratigon::sim {
namespace {

using Kind = SessionTable::Kind;

// The simulated bus never waits, but programs show the value, so it is a plausible default.
constexpr ViUInt32 kTimeoutMs = 2000;

// VISA's text buffers hold 256 characters; anything longer is cut, never overrun.
void CopyText(ViChar* destination, std::string_view text, std::size_t capacity = VI_FIND_BUFLEN)
{
    const std::size_t count = std::min(text.size(), capacity - 1);
    std::memcpy(destination, text.data(), count);
    destination[count] = '\0';
}

template <class T>
void Store(void* destination, T value)
{
    std::memcpy(destination, &value, sizeof value);
}

struct Attribute {
    ViAttr attribute;
    void (*store)(const ModuleDescription& module, void* value);
};

// The 16-bit attributes write exactly two bytes: callers pass 16-bit variables.
const Attribute kAttributes[] = {
    {VI_ATTR_INTF_NUM, [](const ModuleDescription& m, void* v) { Store(v, static_cast<ViUInt16>(m.interfaceNumber)); }},
    {VI_ATTR_VXI_LA, [](const ModuleDescription& m, void* v) { Store(v, static_cast<ViInt16>(m.logicalAddress)); }},
    {VI_ATTR_SLOT, [](const ModuleDescription& m, void* v) { Store(v, static_cast<ViInt16>(m.slot)); }},
    {VI_ATTR_MODEL_CODE, [](const ModuleDescription& m, void* v) { Store(v, static_cast<ViUInt16>(m.modelCode)); }},
    {VI_ATTR_TMO_VALUE, [](const ModuleDescription&, void* v) { Store(v, kTimeoutMs); }},
};

}  // namespace

Simulator& Simulator::Instance()
{
    static Simulator instance;
    return instance;
}

void Simulator::Configure(std::optional<BenchOptions> options)
{
    sessions_.Clear();
    locks_.clear();
    bench_.reset();
    benchProblem_.clear();
    // The trace file follows the bench: the next load opens the one it names.
    trace_.SetFile({});
    options_ = std::move(options);
}

ViStatus Simulator::EnsureBench()
{
    if (bench_) {
        return VI_SUCCESS;
    }
    const BenchSource source = options_ ? BenchSource::FromOptions(*options_) : BenchSource::FromEnvironment();
    try {
        bench_ = std::make_unique<Bench>(BenchParser::Parse(source.Text()), StateStore(source.StatePath()));
    } catch (const BenchError& error) {
        benchProblem_ = "Simulated bench " + source.Origin() + ": " + error.what();
        if (benchProblem_ != lastReportedProblem_) {
            std::fprintf(stderr, "%s\n", benchProblem_.c_str());
            lastReportedProblem_ = benchProblem_;
        }
        return VI_ERROR_SYSTEM_ERROR;
    }
    benchProblem_.clear();
    locks_.clear();
    for (std::size_t i = 0; i < bench_->Size(); ++i) {
        locks_.emplace_back(bench_->At(i).Description().faults.exclusiveLock);
    }
    trace_.SetFile(source.TracePath());
    return VI_SUCCESS;
}

ViStatus Simulator::OpenDefaultRM(ViSession* vi)
{
    if (vi == nullptr) {
        return VI_ERROR_USER_BUF;
    }
    *vi = VI_NULL;
    if (const ViStatus status = EnsureBench(); status < 0) {
        return status;
    }
    if (bench_->Faults().openDefaultRmError) {
        return VI_ERROR_SYSTEM_ERROR;
    }
    *vi = sessions_.Add({.kind = Kind::ResourceManager});
    return VI_SUCCESS;
}

std::vector<std::size_t> Simulator::Matching(const ResourceExpression& expression) const
{
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < bench_->Size(); ++i) {
        if (expression.Matches(bench_->At(i).Resource())) {
            found.push_back(i);
        }
    }
    return found;
}

ViStatus Simulator::FindRsrc(ViSession rm, ViConstString expr, ViFindList* list, ViUInt32* retCnt, ViChar desc[])
{
    if (list != nullptr) {
        *list = VI_NULL;
    }
    if (retCnt != nullptr) {
        *retCnt = 0;
    }
    if (sessions_.Find(rm, Kind::ResourceManager) == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    if (desc == nullptr) {
        return VI_ERROR_USER_BUF;
    }
    const auto expression = expr == nullptr ? std::nullopt : ResourceExpression::Parse(expr);
    if (!expression) {
        return VI_ERROR_INV_EXPR;
    }
    std::vector<std::size_t> found = Matching(*expression);
    if (found.empty()) {
        return VI_ERROR_RSRC_NFOUND;
    }
    CopyText(desc, bench_->At(found.front()).Resource());
    if (retCnt != nullptr) {
        *retCnt = static_cast<ViUInt32>(found.size());
    }
    if (list != nullptr) {
        *list = sessions_.Add({.kind = Kind::FindList, .owner = rm, .found = std::move(found), .next = 1});
    }
    return VI_SUCCESS;
}

// A find_next_error fault sticks: every later call fails too, the way a broken bus would.
ViStatus Simulator::FindNext(ViFindList list, ViChar desc[])
{
    SessionTable::Entry* entry = sessions_.Find(list, Kind::FindList);
    if (entry == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    if (desc == nullptr) {
        return VI_ERROR_USER_BUF;
    }
    const auto failAfter = bench_->Faults().findNextError;
    if (failAfter && entry->next > 0 && entry->found[entry->next - 1] == *failAfter) {
        return VI_ERROR_SYSTEM_ERROR;
    }
    if (entry->next >= entry->found.size()) {
        return VI_ERROR_RSRC_NFOUND;
    }
    CopyText(desc, bench_->At(entry->found[entry->next++]).Resource());
    return VI_SUCCESS;
}

ViStatus Simulator::Open(ViSession rm, ViConstRsrc name, ViAccessMode mode, ViSession* vi)
{
    if (vi == nullptr) {
        return VI_ERROR_USER_BUF;
    }
    *vi = VI_NULL;
    if (sessions_.Find(rm, Kind::ResourceManager) == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    if (name == nullptr) {
        return VI_ERROR_INV_RSRC_NAME;
    }
    if ((mode & ~(VI_EXCLUSIVE_LOCK | VI_LOAD_CONFIG)) != 0) {
        return VI_ERROR_INV_ACC_MODE;
    }
    const auto index = bench_->Find(name);
    if (!index) {
        return VI_ERROR_RSRC_NFOUND;
    }
    if (bench_->At(*index).Description().faults.openError) {
        return VI_ERROR_IO;
    }
    WaitForAnswer(bench_->At(*index));
    return OpenSession(rm, *index, mode, vi);
}

ViStatus Simulator::OpenSession(ViSession rm, std::size_t instrument, ViAccessMode mode, ViSession* vi)
{
    const ViSession session = sessions_.Add({.kind = Kind::Instrument, .owner = rm, .instrument = instrument});
    if ((mode & VI_EXCLUSIVE_LOCK) != 0) {
        std::string unused;
        const ViStatus status = locks_[instrument].Lock(session, VI_EXCLUSIVE_LOCK, nullptr, unused);
        if (status < 0) {
            sessions_.Close(session);
            return status;
        }
    }
    *vi = session;
    return VI_SUCCESS;
}

ViStatus Simulator::Close(ViObject vi)
{
    const auto closed = sessions_.Close(vi);
    if (!closed) {
        return VI_ERROR_INV_OBJECT;
    }
    for (const auto& [id, entry] : *closed) {
        if (entry.kind == Kind::Instrument && entry.instrument < locks_.size()) {
            locks_[entry.instrument].Release(id);
        }
    }
    return VI_SUCCESS;
}

ViStatus Simulator::GetAttribute(ViObject vi, ViAttr attr, void* value)
{
    const SessionTable::Entry* entry = sessions_.Find(vi);
    if (entry == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    if (value == nullptr) {
        return VI_ERROR_USER_BUF;
    }
    if (entry->kind != Kind::Instrument) {
        return VI_ERROR_NSUP_ATTR;
    }
    const ModuleDescription& module = bench_->At(entry->instrument).Description();
    const auto found = std::find_if(std::begin(kAttributes), std::end(kAttributes),
                                    [attr](const Attribute& row) { return row.attribute == attr; });
    if (module.faults.attributeError || found == std::end(kAttributes)) {
        return VI_ERROR_NSUP_ATTR;
    }
    found->store(module, value);
    return VI_SUCCESS;
}

ViStatus Simulator::Lock(ViSession vi, ViAccessMode type, ViConstKeyId requestedKey, ViChar accessKey[])
{
    std::size_t index = 0;
    if (InstrumentOf(vi, &index) == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    std::string key;
    const ViStatus status = locks_[index].Lock(vi, type, requestedKey, key);
    if (status >= 0 && type == VI_SHARED_LOCK && accessKey != nullptr) {
        CopyText(accessKey, key);
    }
    return status;
}

ViStatus Simulator::Unlock(ViSession vi)
{
    std::size_t index = 0;
    if (InstrumentOf(vi, &index) == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    return locks_[index].Unlock(vi);
}

// What every read and write checks first: an instrument session and a buffer to use.
ViStatus Simulator::BeginTransfer(ViSession vi, const void* buf, ViUInt32 cnt, ViUInt32* retCnt,
                                  Instrument*& instrument, std::size_t& index)
{
    if (retCnt != nullptr) {
        *retCnt = 0;
    }
    instrument = InstrumentOf(vi, &index);
    if (instrument == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    if (buf == nullptr && cnt != 0) {
        return VI_ERROR_USER_BUF;
    }
    return VI_SUCCESS;
}

ViStatus Simulator::Read(ViSession vi, ViPBuf buf, ViUInt32 cnt, ViUInt32* retCnt)
{
    std::size_t index = 0;
    Instrument* instrument = nullptr;
    if (const ViStatus status = BeginTransfer(vi, buf, cnt, retCnt, instrument, index); status < 0) {
        return status;
    }
    std::string bytes;
    WaitForAnswer(*instrument);
    const ViStatus status = locks_[index].Permits(vi) ? instrument->Read(cnt, bytes) : VI_ERROR_RSRC_LOCKED;
    trace_.RecordRead(instrument->Resource(), bytes, status);
    if (status < 0) {
        return status;
    }
    if (!bytes.empty()) {
        std::memcpy(buf, bytes.data(), bytes.size());
    }
    if (retCnt != nullptr) {
        *retCnt = static_cast<ViUInt32>(bytes.size());
    }
    return status;
}

ViStatus Simulator::Write(ViSession vi, ViConstBuf buf, ViUInt32 cnt, ViUInt32* retCnt)
{
    std::size_t index = 0;
    Instrument* instrument = nullptr;
    if (const ViStatus status = BeginTransfer(vi, buf, cnt, retCnt, instrument, index); status < 0) {
        return status;
    }
    const std::string message = cnt == 0 ? std::string() : std::string(reinterpret_cast<const char*>(buf), cnt);
    ViStatus status = VI_SUCCESS;
    if (!locks_[index].Permits(vi)) {
        status = VI_ERROR_RSRC_LOCKED;
    } else if (instrument->WriteFails(message)) {
        status = VI_ERROR_IO;
    }
    trace_.RecordWrite(instrument->Resource(), message, status);
    if (status < 0) {
        return status;
    }
    if (instrument->Receive(message)) {
        bench_->Persist(*instrument);
    }
    if (retCnt != nullptr) {
        *retCnt = cnt;
    }
    return VI_SUCCESS;
}

ViStatus Simulator::StatusDesc(ViStatus status, ViChar desc[])
{
    if (desc == nullptr) {
        return VI_ERROR_USER_BUF;
    }
    if (status == VI_ERROR_SYSTEM_ERROR && !benchProblem_.empty()) {
        CopyText(desc, benchProblem_);
        return VI_SUCCESS;
    }
    if (const auto text = StatusDescriptions::Find(status)) {
        CopyText(desc, *text);
        return VI_SUCCESS;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Unknown status value 0x%08X.", static_cast<unsigned>(static_cast<std::uint32_t>(status)));
    CopyText(desc, text);
    return VI_WARN_UNKNOWN_STATUS;
}

void Simulator::WaitForAnswer(const Instrument& instrument)
{
    if (const int latency = instrument.Description().latencyMs; latency > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(latency));
    }
}

Instrument* Simulator::InstrumentOf(ViSession vi, std::size_t* index)
{
    const SessionTable::Entry* entry = sessions_.Find(vi, Kind::Instrument);
    if (entry == nullptr) {
        return nullptr;
    }
    if (index != nullptr) {
        *index = entry->instrument;
    }
    return &bench_->At(entry->instrument);
}

}  // namespace stratigon::sim
