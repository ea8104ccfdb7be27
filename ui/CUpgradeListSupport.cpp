#include "ui/CUpgradeListSupport.h"

#include "catalogue/PossibleUpgrades.h"
#include "res/resource.h"
#include "ui/SharedDialogPosition.h"

namespace stratigon::ui {

namespace {

// One tab stop, which the list box repeats: the columns start at 0, 1/3 and 2/3 of its width.
void SetColumnTabStop(HWND list)
{
    RECT client{};
    ::GetClientRect(list, &client);
    const int baseUnit = LOWORD(::GetDialogBaseUnits());
    const int tabStop = ((client.right * 4 + 4) / baseUnit) / 3;
    ::SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
}

}  // namespace

CUpgradeListSupport::CUpgradeListSupport(CModule& module, IMessageSink& messages, const std::string& frameText,
                                         const std::string& slotText)
    : m_module(module), m_messages(messages), m_frameText(frameText), m_slotText(slotText),
      m_depthText(module.GetMemoryDepth()), m_speedText(module.GetStateSpeed())
{
}

int CUpgradeListSupport::Initialize(HWND dialog)
{
    ::SetDlgItemTextA(dialog, IDC_UPGRADE_FRAME, m_frameText.c_str());
    ::SetDlgItemTextA(dialog, IDC_UPGRADE_SLOT, m_slotText.c_str());
    ::SetDlgItemTextA(dialog, IDC_UPGRADE_DEPTH, m_depthText.c_str());
    ::SetDlgItemTextA(dialog, IDC_UPGRADE_SPEED, m_speedText.c_str());
    const HWND listBox = ::GetDlgItem(dialog, IDC_UPGRADE_LIST);
    m_list = CListBoxSortedList(listBox);
    SetColumnTabStop(listBox);
    return ListPossibleUpgrades(m_module, m_list, m_messages);
}

void CUpgradeListSupport::ShowNoUpgradesLabel(HWND dialog) const
{
    ::ShowWindow(::GetDlgItem(dialog, IDC_NO_UPGRADES), m_list.GetCount() == 0 ? SW_SHOW : SW_HIDE);
}

void CUpgradeListSupport::StorePosition(HWND dialog)
{
    RECT bounds{};
    ::GetWindowRect(dialog, &bounds);
    SharedDialogPosition = POINT{bounds.left, bounds.top};
}

void CUpgradeListSupport::MoveToSharedPosition(HWND dialog)
{
    ::SetWindowPos(dialog, nullptr, SharedDialogPosition.x, SharedDialogPosition.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace stratigon::ui
