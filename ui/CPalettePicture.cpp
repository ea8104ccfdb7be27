#include "ui/CPalettePicture.h"

#include "ui/BitmapDrawing.h"
#include "ui/CDialog.h"
#include "ui/GdiGuards.h"

namespace stratigon::ui {

CPalettePicture::CPalettePicture(LPCSTR bitmapName)
    : m_bitmap(LoadDibWithPalette(CDialog::ResourceInstance(), bitmapName, m_palette))
{
}

bool CPalettePicture::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message != WM_PAINT)
        return false;
    Paint();
    result = 0;
    return true;
}

void CPalettePicture::Paint()
{
    const CPaintDC paint(GetHwnd());
    if (!m_bitmap)
        return;
    const CWindowDC window(GetHwnd());
    const UniqueDC memory(::CreateCompatibleDC(window.get()));
    const CSelectPalette windowPalette(window.get(), m_palette.get());
    const CSelectPalette memoryPalette(memory.get(), m_palette.get());
    const CSelectObject selection(memory.get(), m_bitmap.get());
    BITMAP size{};
    ::GetObjectA(m_bitmap.get(), sizeof size, &size);
    ::BitBlt(window.get(), 0, 0, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

void CPalettePicture::SizeToContent()
{
    BITMAP size{};
    if (m_bitmap && ::GetObjectA(m_bitmap.get(), sizeof size, &size) != 0)
        ::SetWindowPos(GetHwnd(), nullptr, 0, 0, size.bmWidth, size.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPalettePicture::OnPaletteChanged(HWND changedBy)
{
    if (GetHwnd() != nullptr && changedBy != GetHwnd())
        ::InvalidateRect(GetHwnd(), nullptr, TRUE);
}

}  // namespace stratigon::ui
