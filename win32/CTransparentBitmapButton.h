// An owner-drawn button that shows a bitmap over whatever lies behind it, light grey being
// transparent: the About box's logo. It has a bitmap for each state and does nothing when
// clicked.
#pragma once

#include <windows.h>

#include "win32/IOwnerDraw.h"

namespace stratigon::win32 {

class CTransparentBitmapButton final : public IOwnerDraw {
public:
    void Attach(HWND button) { m_button = button; }
    // A state without a bitmap of its own (id 0) shows the normal one. False when the normal
    // bitmap cannot be loaded. May be called again, for bitmaps drawn for another scale.
    bool LoadBitmaps(WORD normal, WORD selected = 0, WORD focused = 0, WORD disabled = 0);
    // Makes the button exactly as large as its normal bitmap.
    void SizeToContent();

    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    UINT BitmapFor(UINT state) const;

    HWND m_button = nullptr;
    RECT m_drawRect{};
    UINT m_normal = 0;
    UINT m_selected = 0;
    UINT m_focused = 0;
    UINT m_disabled = 0;
    SIZE m_size{};
};

}  // namespace stratigon::win32
