// The About box's product picture: a control that paints a 256-colour bitmap with the
// bitmap's own palette, so it keeps its colours on palette displays, and takes no input.
#pragma once

#include "win32/CWindowSubclass.h"
#include "win32/UniqueHandle.h"

namespace stratigon::win32 {

class CPalettePicture final : public CWindowSubclass {
public:
    // Shows this bitmap resource from now on (one drawn for the control's scale); without it
    // the control paints nothing.
    void Load(LPCSTR bitmapName);

    HBITMAP Bitmap() const { return m_bitmap.get(); }
    // Makes the control as large as its bitmap, so that none of the picture is cut off.
    void SizeToContent();
    HPALETTE Palette() const { return m_palette.get(); }

    // What the dialog passes on of the top-level palette messages.
    void OnPaletteChanged(HWND changedBy);
    static bool OnQueryNewPalette() { return false; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint();

    UniquePalette m_palette;
    UniqueBitmap m_bitmap;
};

}  // namespace stratigon::win32
