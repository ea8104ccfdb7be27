#include "ui/CUpgradeListSupport.h"

#include "catalogue/PossibleUpgrades.h"
#include "res/resource.h"
#include "ui/SharedDialogPosition.h"

namespace stratigon::ui {

namespace {

// The columns start under their headings: tab stops in the list's dialog units, from where the
// headings are in pixels, so they hold at every scale.
void AlignColumnsWithHeadings(HWND dialog, HWND list)
{
    RECT quarterUnits{0, 0, 4, 8};
    ::MapDialogRect(dialog, &quarterUnits);
    int stops[2] = {};
    const int headings[2] = {IDC_DEPTH_HEADING, IDC_SPEED_HEADING};
    for (int i = 0; i < 2; ++i) {
        RECT heading{};
        ::GetWindowRect(::GetDlgItem(dialog, headings[i]), &heading);
        POINT left{heading.left, heading.top};
        ::ScreenToClient(list, &left);
        stops[i] = left.x * 4 / (quarterUnits.right > 0 ? quarterUnits.right : 1);
    }
    ::SendMessageA(list, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops));
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
    AlignColumnsWithHeadings(dialog, listBox);
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
