#include "ui/CPossibleUpgradesDlg.h"

#include <commdlg.h>

#include <vector>

#include "res/resource.h"

namespace stratigon::ui {

CPossibleUpgradesDlg::CPossibleUpgradesDlg(CModule& module, IMessageSink& messages, CUpgradeInfoFile& report,
                                           const std::string& frameText, const std::string& slotText, CHelpRouting* help)
    : CDialogImpl(IDD_POSSIBLE_UPGRADES), m_upgrades(module, messages, frameText, slotText), m_report(report),
      m_help(help)
{
}

std::span<const CPossibleUpgradesDlg::CommandEntry> CPossibleUpgradesDlg::CommandTable()
{
    static const CommandEntry table[] = {
        {IDC_PRINT_TO_FILE, &CPossibleUpgradesDlg::OnPrintToFile},
        {IDC_UPGRADE_HELP, &CPossibleUpgradesDlg::OnHelp},
        {IDC_UPGRADE_CLOSE, &CPossibleUpgradesDlg::OnCloseButton},
    };
    return table;
}

std::span<const CPossibleUpgradesDlg::MessageEntry> CPossibleUpgradesDlg::MessageTable()
{
    static const MessageEntry table[] = {
        {WM_HELP, &CPossibleUpgradesDlg::HandleHelp},
    };
    return table;
}

void CPossibleUpgradesDlg::OnHelp()
{
    if (m_help != nullptr)
        m_help->ShowContext(ApplicationWindow(), CHelpRouting::kPossibleUpgradesContext);
}

// F1 on a control, or a click with the caption's help button.
bool CPossibleUpgradesDlg::HandleHelp(WPARAM, LPARAM lParam, LRESULT& result)
{
    if (m_help == nullptr || !m_help->OnHelpRequest(GetHwnd(), *reinterpret_cast<const HELPINFO*>(lParam),
                                                    CHelpRouting::UpgradesHelpTable()))
        return false;
    result = TRUE;
    return true;
}

BOOL CPossibleUpgradesDlg::OnInitDialog()
{
    CHelpRouting::ApplyContextIds(GetHwnd(), CHelpRouting::UpgradesHelpTable(), HELPID_UPGRADES);
    // The list right after its label, whose mnemonic moves to it.
    ArrangeTabOrder({IDC_POSSIBLE_LABEL, IDC_UPGRADE_LIST});
    BOOL defaultFocus = TRUE;
    if (m_upgrades.Initialize(GetHwnd()) != 0) {
        m_upgrades.ShowNoUpgradesLabel(GetHwnd());
        SetFocusTo(IDC_PRINT_TO_FILE);
        defaultFocus = FALSE;
    }
    CUpgradeListSupport::MoveToSharedPosition(GetHwnd());
    return defaultFocus;
}

void CPossibleUpgradesDlg::OnCloseButton()
{
    CUpgradeListSupport::StorePosition(GetHwnd());
    EndDialog(IDCANCEL);
}

void CPossibleUpgradesDlg::OnPrintToFile()
{
    const std::string path = AskForReportPath(GetHwnd(), m_report.DefaultPath());
    if (!path.empty())
        m_report.WriteUpgradeInfoFile(m_upgrades.Module(), m_upgrades.List(), path);
}

std::string AskForReportPath(HWND owner, const std::string& proposedPath)
{
    std::vector<char> file(MAX_PATH * 4, '\0');
    proposedPath.copy(file.data(), file.size() - 1);
    static const char kFilter[] = "Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = "TXT";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_HIDEREADONLY;
    if (!::GetSaveFileNameA(&dialog))
        return {};
    return file.data();
}

}  // namespace stratigon::ui
