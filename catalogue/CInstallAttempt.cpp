#include "catalogue/CInstallAttempt.h"

#include <cstdio>

#include "catalogue/AutomationMessages.h"
#include "catalogue/AutomationResult.h"
#include "catalogue/FindOptionTable.h"
#include "catalogue/InstallJournalBinding.h"
#include "catalogue/JournalStamp.h"
#include "instrument/FrameNames.h"
#include "module/CModule.h"

namespace stratigon {

namespace {

struct StatusEvent {
    InstallStatus status;
    const char* event;
};

constexpr StatusEvent kEvents[] = {
    {InstallStatus::NoOptionTable, InstallEvent::Refused},
    {InstallStatus::InvalidOption, InstallEvent::Refused},
    {InstallStatus::Incompatible, InstallEvent::Refused},
    {InstallStatus::AlreadyInstalled, InstallEvent::AlreadyInstalled},
    {InstallStatus::ChangeFailed, InstallEvent::Failed},
    {InstallStatus::Installed, InstallEvent::Succeeded},
};

const char* EventOf(InstallStatus status)
{
    for (const StatusEvent& entry : kEvents)
        if (entry.status == status)
            return entry.event;
    return InstallEvent::Failed;
}

std::string ResultCodeText(std::uint32_t result)
{
    char text[16];
    std::snprintf(text, sizeof text, result == 0 ? "0" : "0x%08X", static_cast<unsigned>(result));
    return text;
}

// One line per record: the texts follow each other, their line breaks become blanks.
std::string OnOneLine(const std::vector<std::string>& texts)
{
    std::string line;
    for (const std::string& text : texts) {
        if (text.empty())
            continue;
        if (!line.empty())
            line += " / ";
        for (const char c : text)
            line += c == '\n' || c == '\r' ? ' ' : c;
    }
    return line;
}

}  // namespace

CInstallAttempt::CInstallAttempt(const CModule& module, ViSession session, std::int32_t rowIndex,
                                 const InstallFrontEnd& frontEnd, IMessageSink& messages)
    : m_module(module), m_frontEnd(frontEnd), m_messages(messages), m_shownBefore(module.MessagesShown())
{
    m_record.computer = ComputerName();
    m_record.user = UserName();
    m_record.frontEnd = frontEnd.name;
    m_record.attempt = NewAttemptId();
    FillModule(session, rowIndex);
    m_record.time = UtcTimestamp();
    m_record.event = InstallEvent::Started;
    Write(m_record);
}

void CInstallAttempt::FillModule(ViSession session, std::int32_t rowIndex)
{
    for (int row = 0; row < m_module.GetDeviceCount(); ++row) {
        const DeviceEntry& device = m_module.GetDevice(row);
        if (device.session != session)
            continue;
        m_record.resource = device.resource;
        m_record.frame = FrameName(device.interfaceNumber);
        m_record.slot = std::to_string(device.slot);
    }
    m_record.product = m_module.GetProductName();
    m_record.serialNumber = m_module.GetSerialNumber();
    m_record.uniqueId = m_module.GetUniqueId();
    std::int32_t rowCount = 0;
    const OptionRow* rows = LookUpOptionTable(m_record.product, rowCount);
    if (rows != nullptr && rowIndex >= 0 && rowIndex < rowCount)
        m_record.kitOption = rows[rowIndex].kitOptionName;
    m_record.depthBefore = m_module.GetMemoryDepth();
    m_record.speedBefore = m_module.GetStateSpeed();
}

void CInstallAttempt::ShowMessage(const char* text)
{
    m_shown.emplace_back(text);
    m_messages.ShowMessage(text);
}

void CInstallAttempt::Finish(const InstallOutcome& outcome)
{
    const std::uint32_t result = ClientResultOf(outcome.status);
    InstallRecord ending = m_record;
    ending.time = UtcTimestamp();
    ending.event = EventOf(outcome.status);
    ending.depthAfter = m_module.GetMemoryDepth();
    ending.speedAfter = m_module.GetStateSpeed();
    ending.resultCode = ResultCodeText(result);
    ending.resultText = TextsSeen(outcome, result);
    Write(ending);
}

// What the person saw: the messages of the lookup and the change, then the outcome's message
// and the failure's text where the front end shows them.
std::string CInstallAttempt::TextsSeen(const InstallOutcome& outcome, std::uint32_t result) const
{
    std::vector<std::string> texts = m_shown;
    for (std::string& text : m_module.MessagesShownSince(m_shownBefore))
        texts.push_back(std::move(text));
    if (m_frontEnd.showsOutcome)
        texts.push_back(outcome.message);
    if (m_frontEnd.showsResultText && result != AutomationResult::Success)
        texts.emplace_back(AutomationMessageText(AutomationResult::CodeOf(result)));
    return OnOneLine(texts);
}

void CInstallAttempt::Write(const InstallRecord& record)
{
    IInstallJournal* journal = InstallJournalBinding::Current();
    std::string problem;
    if (journal == nullptr || journal->Append(record, problem))
        return;
    if (!m_frontEnd.mayTellJournalTrouble || InstallJournalBinding::TroubleTold())
        return;
    InstallJournalBinding::NoteTroubleTold();
    const std::string text = "The install journal cannot be written (" + problem +
                             "); the installation goes ahead without its record.";
    m_messages.ShowMessage(text.c_str());
}

}  // namespace stratigon
