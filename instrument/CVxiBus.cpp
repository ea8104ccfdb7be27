#include "instrument/CVxiBus.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "instrument/SharedBuffers.h"

namespace stratigon {

namespace {

struct ModelCodeRange {
    ViUInt16 from;
    ViUInt16 to;
};

constexpr ModelCodeRange kAcceptedModelCodes[] = {
    {1023, 1031}, {1040, 1044}, {1961, 1969}, {1980, 1990}, {2000, 2012}, {2032, 2040},
};

constexpr char kFindExpression[] = "?*INSTR";
constexpr char kLockedText[] = "Another application has VISA locked. Close it before running Stratigon";
constexpr char kErrorQueueQuery[] = "SYST:ERR?";

// The requested key of every lock of one scan: the local date and time in the locale's form.
void FormatLockKey(char (&key)[kBufferSize])
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    if (std::strftime(key, sizeof key, "%c", &local) == 0)
        key[0] = '\0';
}

bool IsTrimmedSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

CVxiBus::CVxiBus(const VisaFunctions& visa, IMessageSink& messages, ISleeper& sleeper)
    : m_visa(visa), m_messages(messages), m_sleeper(sleeper), m_messageBuffer(new char[kBufferSize]())
{
}

CVxiBus::~CVxiBus() { Close(); }

bool CVxiBus::IsModelCodeAccepted(ViUInt16 modelCode)
{
    return std::any_of(std::begin(kAcceptedModelCodes), std::end(kAcceptedModelCodes),
                       [modelCode](const ModelCodeRange& range) {
                           return modelCode >= range.from && modelCode <= range.to;
                       });
}

bool CVxiBus::Scan(IScanProgress& progress)
{
    char lockKey[kBufferSize];
    FormatLockKey(lockKey);
    m_deviceCount = 0;
    m_frameCount = 0;
    m_scanFailure = VI_SUCCESS;

    ViSession manager = 0;
    ViStatus status = m_visa.viOpenDefaultRM(&manager);
    if (VisaFailed(status)) {
        ShowStatus("Error: viOpenDefaultRM: error code = %lx", status);
        return false;
    }
    m_resourceManager = manager;

    ViFindList list = 0;
    ViUInt32 resourceCount = 0;
    char descriptor[VI_FIND_BUFLEN] = {};
    status = m_visa.viFindRsrc(m_resourceManager, kFindExpression, &list, &resourceCount, descriptor);
    if (VisaFailed(status)) {
        if (status == VI_ERROR_RSRC_NFOUND)
            return true;
        ShowStatus("Error: viFindRsrc: error code = %lx", status);
        return false;
    }

    ViUInt32 visited = 0;
    for (;;) {
        descriptor[VI_FIND_BUFLEN - 1] = '\0';
        if (!VisitResource(descriptor, lockKey))
            return false;
        status = m_visa.viFindNext(list, descriptor);
        const bool advanced = !VisaFailed(status) || status == VI_ERROR_RSRC_NFOUND;
        if (advanced)
            ++visited;
        progress.SetDeviceCount(static_cast<int>(visited));
        m_sleeper.Sleep(kResourceDelayMs);
        // A failed step leaves the descriptor where it was, so the list cannot be walked any
        // further; visiting that descriptor again would enter the same module twice.
        if (VisaFailed(status) || visited >= resourceCount)
            return true;
    }
}

bool CVxiBus::VisitResource(const char* descriptor, const char* lockKey)
{
    ViSession session = 0;
    ViStatus status = m_visa.viOpen(m_resourceManager, descriptor, VI_NULL, VI_NULL, &session);
    if (VisaFailed(status)) {
        ShowStatus("Error: viOpen: error code = %lx", status);
        return false;
    }

    ViUInt16 interfaceNumber = 0, logicalAddress = 0, slot = 0, modelCode = 0;
    if (!ReadAttribute16(session, VI_ATTR_INTF_NUM, interfaceNumber) ||
        !ReadAttribute16(session, VI_ATTR_VXI_LA, logicalAddress) ||
        !ReadAttribute16(session, VI_ATTR_SLOT, slot) ||
        !ReadAttribute16(session, VI_ATTR_MODEL_CODE, modelCode))
        return false;

    // Sessions that are not kept stay open until the resource manager is closed; so do
    // accepted instruments beyond the table's last row.
    if (!IsModelCodeAccepted(modelCode) || m_deviceCount >= kMaxDevices)
        return true;

    char accessKey[kBufferSize] = {};
    status = m_visa.viLock(session, VI_SHARED_LOCK, 0, lockKey, accessKey);
    if (VisaFailed(status)) {
        m_scanFailure = status;
        m_messages.ShowMessage(kLockedText);
        return false;
    }
    m_lockTaken = true;
    EnterDevice(DeviceEntry{session, static_cast<ViInt16>(slot), static_cast<ViInt16>(logicalAddress),
                            static_cast<ViInt16>(interfaceNumber), descriptor});
    return true;
}

bool CVxiBus::ReadAttribute16(ViSession session, ViAttr attribute, ViUInt16& value)
{
    // Room for more than the 16 bits asked for, so a library that writes a wider value
    // cannot overrun the caller's variable.
    unsigned char storage[8] = {};
    const ViStatus status = m_visa.viGetAttribute(session, attribute, storage);
    if (VisaFailed(status)) {
        ShowStatus("Error: viGetAttribute: error code = %lx", status);
        return false;
    }
    std::memcpy(&value, storage, sizeof value);
    return true;
}

void CVxiBus::EnterDevice(const DeviceEntry& entry)
{
    m_devices[static_cast<std::size_t>(m_deviceCount)] = entry;
    ++m_deviceCount;
    // The highest frame decides, whatever order the resource manager listed them in.
    m_frameCount = std::max(m_frameCount, entry.interfaceNumber + 1);
}

void CVxiBus::Close()
{
    if (m_resourceManager == 0)
        return;
    if (m_lockTaken && m_deviceCount > 0)
        m_visa.viUnlock(m_devices[0].session);
    m_visa.viClose(m_resourceManager);
    m_resourceManager = 0;
}

std::vector<std::string> CVxiBus::MessagesShownSince(std::size_t mark) const
{
    const std::size_t firstKept = m_messages.count - m_messages.recent.size();
    const std::size_t from = std::max(mark, firstKept) - firstKept;
    return {m_messages.recent.begin() + static_cast<std::ptrdiff_t>(std::min(from, m_messages.recent.size())),
            m_messages.recent.end()};
}

void CVxiBus::ShowStatus(const char* format, ViStatus status)
{
    m_scanFailure = status;
    std::snprintf(m_messageBuffer.get(), kBufferSize, format, StatusBits(status));
    m_messages.ShowMessage(m_messageBuffer.get());
}

void CVxiBus::ShowDescribed(ViSession session, ViStatus status, const char* prefix, const char* subject)
{
    char* description = m_messageBuffer.get();
    description[0] = '\0';
    m_visa.viStatusDesc(session, status, description);
    description[kBufferSize - 1] = '\0';
    std::string text = prefix;
    if (subject != nullptr)
        text.append(subject).append(": ");
    text += description;
    m_messages.ShowMessage(text.c_str());
}

bool CVxiBus::Write(ViSession session, const char* command, ViUInt32 flags)
{
    ViUInt32 written = 0;
    const ViStatus status = m_visa.viWrite(session, reinterpret_cast<ViConstBuf>(command),
                                           static_cast<ViUInt32>(std::strlen(command)), &written);
    if (!VisaFailed(status))
        return true;
    if (flags != 0)
        ShowDescribed(session, status, "VXI Write Error for command ", command);
    return false;
}

bool CVxiBus::Read(ViSession session, char* buffer, ViUInt32 flags, ViUInt32 count)
{
    if (buffer == nullptr || count == 0)
        return false;
    // One character stays free for the terminating NUL, whatever the caller's count.
    const ViUInt32 asked = std::min<ViUInt32>(count - 1, kBufferSize - 1);
    ViUInt32 received = 0;
    const ViStatus status = m_visa.viRead(session, reinterpret_cast<ViPBuf>(buffer), asked, &received);
    if (VisaFailed(status)) {
        if (flags != 0)
            ShowDescribed(session, status, "VXI Read Error: ", nullptr);
        return false;
    }
    ViUInt32 length = std::min(received, asked);
    while (length > 0 && IsTrimmedSpace(buffer[length - 1]))
        --length;
    buffer[length] = '\0';
    return true;
}

int CVxiBus::Query(ViSession session, const char* query, char* response, ViUInt32 flags)
{
    if (!Write(session, query, flags))
        return 0;
    if (!Read(session, response, flags, kBufferSize))
        return 0;
    return 1;
}

int CVxiBus::SendCommand(ViSession session, const char* command, ViUInt32 flags)
{
    if (!Write(session, command, flags))
        return 0;
    return CheckErrorQueue(session) == 0 ? 1 : 0;
}

int CVxiBus::CheckErrorQueue(ViSession session)
{
    if (!Write(session, kErrorQueueQuery, ReportFailures))
        return 1;
    if (!Read(session, ResponseBuffer, ReportFailures, kBufferSize))
        return 1;
    return ResponseBuffer[0] == '0' ? 0 : 1;
}

}  // namespace stratigon
