// The install journal's records of one installation attempt: "started" before anything is sent
// to the module, and the ending with the outcome and the texts the person saw. A journal that
// cannot be written never stops the installation; the person is told once, where the front
// end allows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/InstallFrontEnd.h"
#include "catalogue/InstallRecord.h"
#include "catalogue/UpgradeInstallation.h"
#include "instrument/IMessageSink.h"

namespace stratigon {

class CInstallAttempt final : public IMessageSink {
public:
    // `module` holds the module behind `session` as read last; `rowIndex` is the kit option of
    // its table, or outside it.
    CInstallAttempt(const CModule& module, ViSession session, std::int32_t rowIndex, const InstallFrontEnd& frontEnd,
                    IMessageSink& messages);

    // Shows the text to the person through the front end's messages and keeps it for the record.
    void ShowMessage(const char* text) override;
    void Finish(const InstallOutcome& outcome);

private:
    void FillModule(ViSession session, std::int32_t rowIndex);
    std::string TextsSeen(const InstallOutcome& outcome, std::uint32_t result) const;
    void Write(const InstallRecord& record);

    const CModule& m_module;
    const InstallFrontEnd& m_frontEnd;
    IMessageSink& m_messages;
    std::size_t m_shownBefore;
    std::vector<std::string> m_shown;
    InstallRecord m_record;
};

}  // namespace stratigon
