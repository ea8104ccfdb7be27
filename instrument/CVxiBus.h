// The VISA side of the program's module object: the resource manager session, the scan that
// finds, opens and locks the modules, the device table, and the command and query transport.
#pragma once

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "instrument/IMessageSink.h"
#include "instrument/IScanProgress.h"
#include "instrument/ISleeper.h"
#include "instrument/VisaFunctions.h"

namespace stratigon {

// One device-table row: a kept instrument and where it sits.
struct DeviceEntry {
    ViSession session = 0;
    ViInt16 slot = 0;
    ViInt16 logicalAddress = 0;
    ViInt16 interfaceNumber = 0;  // the frame index
    std::string resource;         // the VISA resource name the scan found it under
};

// Flags of the transport: report a failed write or read to the user, or stay silent.
constexpr ViUInt32 Silent = 0;
constexpr ViUInt32 ReportFailures = 1;

class CVxiBus {
public:
    static constexpr int kMaxDevices = 256;
    static constexpr unsigned kStartDelayMs = 1000;
    static constexpr unsigned kResourceDelayMs = 250;

    CVxiBus(const VisaFunctions& visa, IMessageSink& messages, ISleeper& sleeper);
    virtual ~CVxiBus();
    CVxiBus(const CVxiBus&) = delete;
    CVxiBus& operator=(const CVxiBus&) = delete;

    // Walks every instrument resource once, keeping and locking the accepted ones. False
    // after a failure that was shown to the user.
    bool Scan(IScanProgress& progress);
    static bool IsModelCodeAccepted(ViUInt16 modelCode);
    // Releases the lock and closes the resource manager with every session opened through it.
    void Close();

    int GetDeviceCount() const { return m_deviceCount; }
    int GetFrameCount() const { return m_frameCount; }
    const DeviceEntry& GetDevice(int index) const { return m_devices.at(static_cast<std::size_t>(index)); }
    bool IsLockTaken() const { return m_lockTaken; }
    // The status of the VISA call that ended the last scan with a failure; VI_SUCCESS when
    // the last scan succeeded. The message shown gives only its number.
    ViStatus GetScanFailure() const { return m_scanFailure; }

    bool Write(ViSession session, const char* command, ViUInt32 flags);
    // `buffer` holds `count` characters; the answer is stored trimmed and NUL-terminated.
    bool Read(ViSession session, char* buffer, ViUInt32 flags, ViUInt32 count);
    // `response` holds kBufferSize characters (callers pass ResponseBuffer).
    int Query(ViSession session, const char* query, char* response, ViUInt32 flags);
    int SendCommand(ViSession session, const char* command, ViUInt32 flags);
    int CheckErrorQueue(ViSession session);

    // How many messages the bus and the module have shown so far: a caller tells whether an
    // operation already said why it failed.
    std::size_t MessagesShown() const { return m_messages.count; }
    // The texts shown since MessagesShown() returned `mark`, as far as they are still kept
    // (the last few): what a person saw of one operation.
    std::vector<std::string> MessagesShownSince(std::size_t mark) const;

protected:
    IMessageSink& Messages() { return m_messages; }

private:
    bool VisitResource(const char* descriptor, const char* lockKey);
    bool ReadAttribute16(ViSession session, ViAttr attribute, ViUInt16& value);
    void EnterDevice(const DeviceEntry& entry);
    void ShowStatus(const char* format, ViStatus status);
    void ShowDescribed(ViSession session, ViStatus status, const char* prefix, const char* subject);

    struct CountingSink final : IMessageSink {
        static constexpr std::size_t kKept = 8;
        explicit CountingSink(IMessageSink& shown) : target(shown) {}
        void ShowMessage(const char* text) override
        {
            ++count;
            if (recent.size() == kKept)
                recent.pop_front();
            recent.emplace_back(text);
            target.ShowMessage(text);
        }
        IMessageSink& target;
        std::size_t count = 0;
        std::deque<std::string> recent;
    };

    const VisaFunctions& m_visa;
    CountingSink m_messages;
    ISleeper& m_sleeper;

    int m_deviceCount = 0;
    int m_frameCount = 0;
    std::array<DeviceEntry, kMaxDevices> m_devices{};
    bool m_lockTaken = false;
    ViStatus m_scanFailure = VI_SUCCESS;
    ViSession m_resourceManager = 0;
    std::unique_ptr<char[]> m_messageBuffer;
};

}  // namespace stratigon
