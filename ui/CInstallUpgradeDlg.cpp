#include "ui/CInstallUpgradeDlg.h"

#include "catalogue/FindOptionTable.h"
#include "catalogue/OptionNames.h"
#include "catalogue/UpgradeInstallation.h"
#include "module/ModuleCodes.h"
#include "res/resource.h"
#include "ui/ApplicationState.h"

namespace stratigon::ui {

CInstallUpgradeDlg::CInstallUpgradeDlg(CModule& module, IMessageSink& messages, ViSession session,
                                       const std::string& frameText, const std::string& slotText)
    : CDialogImpl(IDD_INSTALL_UPGRADE), m_upgrades(module, messages, frameText, slotText), m_session(session)
{
}

std::span<const CInstallUpgradeDlg::CommandEntry> CInstallUpgradeDlg::CommandTable()
{
    static const CommandEntry table[] = {
        {IDC_UPGRADE_LIST, &CInstallUpgradeDlg::OnListSelectionChanged, LBN_SELCHANGE},
        {IDC_UPGRADE_LIST, &CInstallUpgradeDlg::OnInstall, LBN_DBLCLK},
        {IDC_INSTALL, &CInstallUpgradeDlg::OnInstall},
        {IDC_UPGRADE_CLOSE, &CInstallUpgradeDlg::OnCloseButton},
    };
    return table;
}

BOOL CInstallUpgradeDlg::OnInitDialog()
{
    m_upgrades.Initialize(GetHwnd());
    m_upgrades.ShowNoUpgradesLabel(GetHwnd());
    CUpgradeListSupport::MoveToSharedPosition(GetHwnd());
    SetFocusTo(m_upgrades.List().GetCount() > 0 ? IDC_UPGRADE_LIST : IDC_UPGRADE_CLOSE);
    return FALSE;
}

void CInstallUpgradeDlg::OnListSelectionChanged()
{
    EnableItem(IDC_INSTALL, m_upgrades.List().GetCurSel() != ISortedList::kNoSelection);
}

// Installing resets the module, which stops whatever it was doing: the person says yes first.
bool CInstallUpgradeDlg::ConfirmInstallation(const std::string& option)
{
    const std::string question = "Install " + option + " on the module in " + m_upgrades.FrameText() + ", slot " +
                                 m_upgrades.SlotText() + "?\n\nThe module is reset and read again afterwards.";
    return ::MessageBoxA(GetHwnd(), question.c_str(), kApplicationName, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
           IDYES;
}

void CInstallUpgradeDlg::OnInstall()
{
    const int selection = m_upgrades.List().GetCurSel();
    if (selection == ISortedList::kNoSelection)
        return;
    // The first column is the kit option in its display form, which names the row.
    const std::string line = m_upgrades.List().GetText(selection);
    const std::string option = line.substr(0, line.find('\t'));
    if (!ConfirmInstallation(option))
        return;
    // The one module object may have read other modules since the window opened (a client's
    // call): the installation is planned from this window's module as it is now.
    if (const int status = m_upgrades.Module().ReadModule(m_session); status != ModuleCode::Success) {
        m_upgrades.Messages().ShowMessage(ModuleCodeText(status));
        return;
    }
    std::int32_t rowCount = 0;
    const OptionRow* rows = FindOptionTable(m_upgrades.Module(), m_upgrades.Messages(), rowCount);
    if (rows == nullptr)
        return;
    const std::int32_t rowIndex = FindOptionByDesignation(rows, rowCount, option);
    InstallOption(m_upgrades.Module(), m_session, rowIndex, m_upgrades.Messages(), [this] { OnCloseButton(); });
}

void CInstallUpgradeDlg::OnCloseButton()
{
    CUpgradeListSupport::StorePosition(GetHwnd());
    EndDialog(IDCANCEL);
}

}  // namespace stratigon::ui
