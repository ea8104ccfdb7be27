// The Possible Upgrades dialog: the kit options that fit the module read last, and "Print to
// file..." for the upgrade information file that goes with an order.
#pragma once

#include "report/CUpgradeInfoFile.h"
#include "ui/CHelpRouting.h"
#include "ui/CUpgradeListSupport.h"
#include "win32/CDialogImpl.h"

namespace stratigon::ui {

class CPossibleUpgradesDlg final : public win32::CDialogImpl<CPossibleUpgradesDlg> {
public:
    // `help` null: the dialog offers no help.
    CPossibleUpgradesDlg(CModule& module, IMessageSink& messages, CUpgradeInfoFile& report,
                         const std::string& frameText, const std::string& slotText, CHelpRouting* help = nullptr);

    void OnPrintToFile();
    void OnHelp();
    void OnCloseButton();

    static std::span<const CommandEntry> CommandTable();
    static std::span<const MessageEntry> MessageTable();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { OnCloseButton(); }

private:
    bool HandleHelp(WPARAM wParam, LPARAM lParam, LRESULT& result);

    CUpgradeListSupport m_upgrades;
    CUpgradeInfoFile& m_report;
    CHelpRouting* m_help;
};

// Asks the user where to save the report, proposing `proposedPath`; empty when cancelled.
std::string AskForReportPath(HWND owner, const std::string& proposedPath);

}  // namespace stratigon::ui
