#include "win32/CPalettePicture.h"

#include "win32/BitmapDrawing.h"
#include "win32/CDialog.h"
#include "win32/GdiGuards.h"

namespace stratigon::win32 {

void CPalettePicture::Load(LPCSTR bitmapName)
{
    m_bitmap = LoadDibWithPalette(CDialog::ResourceInstance(), bitmapName, m_palette);
    if (GetHwnd() != nullptr)
        ::InvalidateRect(GetHwnd(), nullptr, TRUE);
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
    const UniqueDC memory(::CreateCompatibleDC(paint.get()));
    const CSelectPalette screenPalette(paint.get(), m_palette.get());
    const CSelectPalette memoryPalette(memory.get(), m_palette.get());
    const CSelectObject selection(memory.get(), m_bitmap.get());
    BITMAP size{};
    ::GetObjectA(m_bitmap.get(), sizeof size, &size);
    ::BitBlt(paint.get(), 0, 0, size.bmWidth, size.bmHeight, memory.get(), 0, 0, SRCCOPY);
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

}  // namespace stratigon::win32
