// A sorted list box seen through the core's sorted-list interface, so the core's upgrade
// listing fills the dialog's own list box. Does not own the window.
#pragma once

#include <windows.h>

#include "catalogue/ISortedList.h"

namespace stratigon::ui {

class CListBoxSortedList final : public ISortedList {
public:
    explicit CListBoxSortedList(HWND listBox) : m_listBox(listBox) {}

    int AddString(const std::string& line) override;
    int GetCount() const override;
    std::string GetText(int index) const override;
    int GetCurSel() const override;
    void SetCurSel(int index) override;

private:
    HWND m_listBox;
};

}  // namespace stratigon::ui
