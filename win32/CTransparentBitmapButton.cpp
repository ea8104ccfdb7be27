#include "win32/CTransparentBitmapButton.h"

#include "win32/BitmapDrawing.h"
#include "win32/CDialog.h"

namespace stratigon::win32 {

bool CTransparentBitmapButton::LoadBitmaps(WORD normal, WORD selected, WORD focused, WORD disabled)
{
    m_normal = normal;
    m_selected = selected != 0 ? selected : normal;
    m_focused = focused != 0 ? focused : normal;
    m_disabled = disabled != 0 ? disabled : normal;
    // Bitmaps of another size bring a button of another size: the next draw measures it anew.
    m_drawRect = RECT{};
    const UniqueBitmap bitmap(::LoadBitmapA(CDialog::ResourceInstance(), MAKEINTRESOURCEA(normal)));
    if (!bitmap)
        return false;
    BITMAP size{};
    ::GetObjectA(bitmap.get(), sizeof size, &size);
    m_size = SIZE{size.bmWidth, size.bmHeight};
    return true;
}

void CTransparentBitmapButton::SizeToContent()
{
    ::SetWindowPos(m_button, nullptr, 0, 0, m_size.cx, m_size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT CTransparentBitmapButton::BitmapFor(UINT state) const
{
    if ((state & ODS_DISABLED) != 0)
        return m_disabled;
    if ((state & ODS_SELECTED) != 0)
        return m_selected;
    if ((state & ODS_FOCUS) != 0)
        return m_focused;
    return m_normal;
}

void CTransparentBitmapButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (m_normal == 0)
        return;
    if (::IsRectEmpty(&m_drawRect)) {
        ::GetWindowRect(item.hwndItem, &m_drawRect);
        ::OffsetRect(&m_drawRect, -m_drawRect.left, -m_drawRect.top);
    }
    DrawTransparentBitmap(item.hDC, BitmapFor(item.itemState), m_drawRect);
}

}  // namespace stratigon::win32
