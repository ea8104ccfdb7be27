#include "ui/CListBoxSortedList.h"

namespace stratigon::ui {

int CListBoxSortedList::AddString(const std::string& line)
{
    return static_cast<int>(::SendMessageA(m_listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str())));
}

int CListBoxSortedList::GetCount() const { return static_cast<int>(::SendMessageA(m_listBox, LB_GETCOUNT, 0, 0)); }

std::string CListBoxSortedList::GetText(int index) const
{
    const LRESULT length = ::SendMessageA(m_listBox, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(m_listBox, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

int CListBoxSortedList::GetCurSel() const
{
    const LRESULT selection = ::SendMessageA(m_listBox, LB_GETCURSEL, 0, 0);
    return selection == LB_ERR ? kNoSelection : static_cast<int>(selection);
}

void CListBoxSortedList::SetCurSel(int index)
{
    ::SendMessageA(m_listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace stratigon::ui
