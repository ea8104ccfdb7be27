// The install window: the user picks one of the module's possible upgrades and, once asked
// and agreed, installs it. It closes by itself only after a successful installation.
#pragma once

#include "ui/CUpgradeListSupport.h"
#include "win32/CDialogImpl.h"

namespace stratigon::ui {

class CInstallUpgradeDlg final : public win32::CDialogImpl<CInstallUpgradeDlg> {
public:
    CInstallUpgradeDlg(CModule& module, IMessageSink& messages, ViSession session, const std::string& frameText,
                       const std::string& slotText);

    void OnListSelectionChanged();
    void OnInstall();
    void OnCloseButton();

    static std::span<const CommandEntry> CommandTable();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override { OnInstall(); }
    void OnCancel() override { OnCloseButton(); }

private:
    bool ConfirmInstallation(const std::string& option);

    CUpgradeListSupport m_upgrades;
    ViSession m_session;
};

}  // namespace stratigon::ui
