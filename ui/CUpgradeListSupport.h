// What the Possible Upgrades dialog and the install window share: the module's place and
// configuration at the top, its possible upgrades in a sorted three-column list, and opening
// and closing at the program's shared dialog position.
#pragma once

#include <string>

#include "instrument/IMessageSink.h"
#include "module/CModule.h"
#include "ui/CListBoxSortedList.h"
#include "win32/CDialogImpl.h"

namespace stratigon::ui {

class CUpgradeListSupport {
public:
    CUpgradeListSupport(CModule& module, IMessageSink& messages, const std::string& frameText,
                        const std::string& slotText);

    // Shows the texts, puts the list's columns under their headings and fills the list; the
    // result of the listing (0 when the product has no option table).
    int Initialize(HWND dialog);
    // Shows "- No Possible Upgrades -" exactly when the list is empty.
    void ShowNoUpgradesLabel(HWND dialog) const;
    // Leaves the dialog's position for the next dialog of this kind.
    static void StorePosition(HWND dialog);
    static void MoveToSharedPosition(HWND dialog);

    CModule& Module() { return m_module; }
    IMessageSink& Messages() { return m_messages; }
    CListBoxSortedList& List() { return m_list; }
    const std::string& FrameText() const { return m_frameText; }
    const std::string& SlotText() const { return m_slotText; }

private:
    CModule& m_module;
    IMessageSink& m_messages;
    std::string m_frameText;
    std::string m_slotText;
    std::string m_depthText;
    std::string m_speedText;
    CListBoxSortedList m_list{nullptr};
};

}  // namespace stratigon::ui
