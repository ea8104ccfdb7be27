#include "simulator/Simulator.h"

#include "simulator/BenchError.h"
#include "simulator/BenchParser.h"
#include "simulator/BenchSource.h"
#include "simulator/ResourceName.h"
#include "simulator/StatusDescriptions.h"
#include "simulator/VisaStatus.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <thread>
#include <utility>
#include <variant>

namespace stratigon::sim {
namespace {

using Kind = SessionTable::Kind;

// VISA's text buffers hold 256 characters; anything longer is cut, never overrun.
void CopyText(ViChar* destination, std::string_view text, std::size_t capacity = VI_FIND_BUFLEN)
{
    const std::size_t count = std::min(text.size(), capacity - 1);
    std::memcpy(destination, text.data(), count);
    destination[count] = '\0';
}

// Which of the attribute table's holders an object is; a find list has no attributes.
unsigned HolderOf(const SessionTable::Entry& entry)
{
    switch (entry.kind) {
    case Kind::ResourceManager:
        return AttributeTable::Manager;
    case Kind::Instrument:
        return AttributeTable::Session;
    case Kind::FindList:
        break;
    }
    return 0;
}

struct Event {
    ViEventType type;
    unsigned holders;
};

// The events of a VXI instrument session; a resource manager has only exceptions.
constexpr Event kEvents[] = {
    {VI_EVENT_IO_COMPLETION, AttributeTable::Session},
    {VI_EVENT_TRIG, AttributeTable::Session},
    {VI_EVENT_SERVICE_REQ, AttributeTable::Session},
    {VI_EVENT_VXI_SIGP, AttributeTable::Session},
    {VI_EVENT_VXI_VME_INTR, AttributeTable::Session},
    {VI_EVENT_EXCEPTION, AttributeTable::Session | AttributeTable::Manager},
    {VI_ALL_ENABLED_EVENTS, AttributeTable::Session | AttributeTable::Manager},
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

std::vector<std::size_t> Simulator::Matching(const ResourceExpression& expression)
{
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < bench_->Size(); ++i) {
        const AttributeTable::Source source = SourceOf(i);
        if (expression.Matches(bench_->At(i).Resource(),
                               [&source](const AttributeTable::Row& attribute) { return attribute.read(source); })) {
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
        ResourceName parsed;
        return ResourceName::Parse(name, parsed) == VI_ERROR_INV_RSRC_NAME ? VI_ERROR_INV_RSRC_NAME
                                                                            : VI_ERROR_RSRC_NFOUND;
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

ViStatus Simulator::ParseRsrc(ViSession rm, ViConstRsrc name, ViUInt16* intfType, ViUInt16* intfNum,
                              ViChar rsrcClass[], ViChar expandedName[], ViChar alias[])
{
    if (sessions_.Find(rm, Kind::ResourceManager) == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    if (name == nullptr) {
        return VI_ERROR_INV_RSRC_NAME;
    }
    if (intfType == nullptr || intfNum == nullptr) {
        return VI_ERROR_USER_BUF;
    }
    ResourceName parsed;
    ViStatus status = ResourceName::Parse(name, parsed);
    // A bench may name a resource in a form of its own; it is still a resource of this system.
    if (const auto index = status < 0 ? bench_->Find(name) : std::nullopt) {
        parsed = ResourceName::Of(bench_->At(*index).Description());
        status = VI_SUCCESS;
    }
    if (status < 0) {
        return status;
    }
    *intfType = parsed.interfaceType;
    *intfNum = parsed.board;
    const std::pair<ViChar*, std::string_view> texts[] = {
        {rsrcClass, parsed.resourceClass}, {expandedName, parsed.canonical}, {alias, ""}};
    for (const auto& [buffer, text] : texts) {
        if (buffer != nullptr) {
            CopyText(buffer, text);
        }
    }
    return VI_SUCCESS;
}

AttributeTable::Source Simulator::SourceOf(const SessionTable::Entry& entry)
{
    if (entry.kind != Kind::Instrument) {
        return {};
    }
    AttributeTable::Source source = SourceOf(entry.instrument);
    source.settings = &entry.settings;
    source.resourceManager = entry.owner;
    return source;
}

AttributeTable::Source Simulator::SourceOf(std::size_t instrument)
{
    return {.module = &bench_->At(instrument).Description(), .lockState = locks_[instrument].State()};
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
    const AttributeTable::Row* row = AttributeTable::Find(attr);
    const AttributeTable::Source source = SourceOf(*entry);
    if (row == nullptr || (row->holders & HolderOf(*entry)) == 0 ||
        (source.module != nullptr && source.module->faults.attributeError)) {
        return VI_ERROR_NSUP_ATTR;
    }
    const AttributeTable::Value read = row->read(source);
    if (const auto* text = std::get_if<std::string>(&read)) {
        CopyText(static_cast<ViChar*>(value), *text);
    } else {
        AttributeTable::StoreNumber(row->type, std::get<std::int64_t>(read), value);
    }
    return VI_SUCCESS;
}

ViStatus Simulator::SetAttribute(ViObject vi, ViAttr attr, ViAttrState value)
{
    SessionTable::Entry* entry = sessions_.Find(vi);
    if (entry == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    const AttributeTable::Row* row = AttributeTable::Find(attr);
    if (row == nullptr || (row->holders & HolderOf(*entry)) == 0) {
        return VI_ERROR_NSUP_ATTR;
    }
    return row->write == nullptr ? VI_ERROR_ATTR_READONLY : row->write(entry->settings, value);
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

// A device clear, as a program sends it to get a confused instrument talking again.
ViStatus Simulator::Clear(ViSession vi)
{
    std::size_t index = 0;
    Instrument* instrument = InstrumentOf(vi, &index);
    if (instrument == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    if (!locks_[index].Permits(vi)) {
        return VI_ERROR_RSRC_LOCKED;
    }
    instrument->Clear();
    return VI_SUCCESS;
}

ViStatus Simulator::Flush(ViSession vi, ViUInt16 mask)
{
    std::size_t index = 0;
    if (InstrumentOf(vi, &index) == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    constexpr ViUInt16 kPairs[][2] = {{VI_READ_BUF, VI_READ_BUF_DISCARD},
                                      {VI_WRITE_BUF, VI_WRITE_BUF_DISCARD},
                                      {VI_IO_IN_BUF, VI_IO_IN_BUF_DISCARD},
                                      {VI_IO_OUT_BUF, VI_IO_OUT_BUF_DISCARD}};
    ViUInt16 known = 0;
    for (const auto& pair : kPairs) {
        if ((mask & pair[0]) != 0 && (mask & pair[1]) != 0) {
            return VI_ERROR_INV_MASK;
        }
        known |= pair[0] | pair[1];
    }
    if (mask == 0 || (mask & ~known) != 0) {
        return VI_ERROR_INV_MASK;
    }
    return locks_[index].Permits(vi) ? VI_SUCCESS : VI_ERROR_RSRC_LOCKED;
}

ViStatus Simulator::CheckEvent(ViSession vi, ViEventType type, ViUInt16 mechanism, ViUInt16 mechanisms)
{
    const SessionTable::Entry* entry = sessions_.Find(vi);
    if (entry == nullptr || entry->kind == Kind::FindList) {
        return VI_ERROR_INV_OBJECT;
    }
    const auto event = std::find_if(std::begin(kEvents), std::end(kEvents),
                                    [type](const Event& row) { return row.type == type; });
    if (event == std::end(kEvents) || (event->holders & HolderOf(*entry)) == 0) {
        return VI_ERROR_INV_EVENT;
    }
    if (mechanism != VI_ALL_MECH && (mechanism == 0 || (mechanism & ~mechanisms) != 0)) {
        return VI_ERROR_INV_MECH;
    }
    return VI_SUCCESS;
}

ViStatus Simulator::DisableEvent(ViSession vi, ViEventType type, ViUInt16 mechanism)
{
    const ViStatus status = CheckEvent(vi, type, mechanism, VI_QUEUE | VI_HNDLR | VI_SUSPEND_HNDLR);
    return status < 0 ? status : VI_SUCCESS_EVENT_DIS;
}

// Handlers never run, so there is nothing a handler could have left behind either.
ViStatus Simulator::DiscardEvents(ViSession vi, ViEventType type, ViUInt16 mechanism)
{
    const ViStatus status = CheckEvent(vi, type, mechanism, VI_QUEUE | VI_SUSPEND_HNDLR);
    return status < 0 ? status : VI_SUCCESS_QUEUE_EMPTY;
}

// What every read and write checks first: an instrument session and a buffer to use.
ViStatus Simulator::BeginTransfer(ViSession vi, const void* buf, ViUInt32 cnt, ViUInt32* retCnt,
                                  SessionTable::Entry*& session)
{
    if (retCnt != nullptr) {
        *retCnt = 0;
    }
    session = sessions_.Find(vi, Kind::Instrument);
    if (session == nullptr) {
        return VI_ERROR_INV_OBJECT;
    }
    if (buf == nullptr && cnt != 0) {
        return VI_ERROR_USER_BUF;
    }
    return VI_SUCCESS;
}

ViStatus Simulator::Read(ViSession vi, ViPBuf buf, ViUInt32 cnt, ViUInt32* retCnt)
{
    SessionTable::Entry* session = nullptr;
    if (const ViStatus status = BeginTransfer(vi, buf, cnt, retCnt, session); status < 0) {
        return status;
    }
    Instrument& instrument = bench_->At(session->instrument);
    const SessionSettings& settings = session->settings;
    const auto termChar =
        settings.termCharEnabled ? std::optional(static_cast<char>(settings.termChar)) : std::nullopt;
    std::string bytes;
    WaitForAnswer(instrument);
    const ViStatus status =
        locks_[session->instrument].Permits(vi) ? instrument.Read(cnt, bytes, termChar) : VI_ERROR_RSRC_LOCKED;
    trace_.RecordRead(instrument.Resource(), bytes, status);
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
    SessionTable::Entry* session = nullptr;
    if (const ViStatus status = BeginTransfer(vi, buf, cnt, retCnt, session); status < 0) {
        return status;
    }
    Instrument& instrument = bench_->At(session->instrument);
    const std::string message = cnt == 0 ? std::string() : std::string(reinterpret_cast<const char*>(buf), cnt);
    ViStatus status = VI_SUCCESS;
    if (!locks_[session->instrument].Permits(vi)) {
        status = VI_ERROR_RSRC_LOCKED;
    } else if (instrument.WriteFails(message)) {
        status = VI_ERROR_IO;
    }
    trace_.RecordWrite(instrument.Resource(), message, status);
    if (status < 0) {
        return status;
    }
    // A module whose change would be gone at the next start must not report it as made.
    const ModuleState before = instrument.State();
    if (instrument.Accept(message, session->settings.sendEnd) && !bench_->Persist(instrument)) {
        instrument.RefuseChange(before);
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
