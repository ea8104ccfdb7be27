#include "win32/BitmapDrawing.h"

#include <vector>

#include "win32/CDialog.h"
#include "win32/GdiGuards.h"

namespace stratigon::win32 {

namespace {

// A memory context holding a bitmap of its own; both go, in the right order, with it.
struct Layer {
    UniqueDC dc;
    UniqueBitmap bitmap;
    CSelectObject selection;
    Layer(HDC compatible, HBITMAP made)
        : dc(::CreateCompatibleDC(compatible)), bitmap(made), selection(dc.get(), bitmap.get())
    {
    }
    HDC get() const { return dc.get(); }
};

}  // namespace

bool DrawTransparentBitmap(HDC dc, UINT bitmapId, RECT& rect)
{
    const UniqueBitmap bitmap(::LoadBitmapA(CDialog::ResourceInstance(), MAKEINTRESOURCEA(bitmapId)));
    if (!bitmap)
        return false;
    const UniqueDC image(::CreateCompatibleDC(dc));
    if (!image)
        return false;
    const CSelectObject imageSelection(image.get(), bitmap.get());
    BITMAP size{};
    ::GetObjectA(bitmap.get(), sizeof size, &size);
    const int w = size.bmWidth;
    const int h = size.bmHeight;
    rect.right = rect.left + w;
    rect.bottom = rect.top + h;

    const Layer copy(dc, ::CreateCompatibleBitmap(dc, w, h));
    ::BitBlt(copy.get(), 0, 0, w, h, image.get(), 0, 0, SRCCOPY);
    // The mask is 1 where the image is light grey.
    const Layer mask(dc, ::CreateBitmap(w, h, 1, 1, nullptr));
    ::SetBkColor(copy.get(), kTransparentColour);
    ::BitBlt(mask.get(), 0, 0, w, h, copy.get(), 0, 0, SRCCOPY);
    const Layer background(dc, ::CreateCompatibleBitmap(dc, w, h));
    ::BitBlt(background.get(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);

    ::SetBkColor(copy.get(), RGB(0, 0, 0));
    ::SetTextColor(copy.get(), RGB(255, 255, 255));
    ::BitBlt(copy.get(), 0, 0, w, h, mask.get(), 0, 0, SRCAND);
    ::SetBkColor(background.get(), RGB(255, 255, 255));
    ::SetTextColor(background.get(), RGB(0, 0, 0));
    ::BitBlt(background.get(), 0, 0, w, h, mask.get(), 0, 0, SRCAND);
    ::BitBlt(background.get(), 0, 0, w, h, copy.get(), 0, 0, SRCPAINT);
    ::BitBlt(dc, rect.left, rect.top, w, h, background.get(), 0, 0, SRCCOPY);
    return true;
}

UniquePalette CreateDibPalette(const BITMAPINFO& bitmap, int& colours)
{
    const BITMAPINFOHEADER& header = bitmap.bmiHeader;
    colours = 0;
    if (header.biBitCount > 8)
        return {};
    // A table may be shorter than the depth allows; it then says how long it is.
    colours = header.biClrUsed != 0 ? static_cast<int>(header.biClrUsed) : 1 << header.biBitCount;
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + static_cast<size_t>(colours) * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(colours);
    for (int i = 0; i < colours; ++i) {
        const RGBQUAD& colour = bitmap.bmiColors[i];
        palette->palPalEntry[i] = PALETTEENTRY{colour.rgbRed, colour.rgbGreen, colour.rgbBlue, 0};
    }
    return UniquePalette(::CreatePalette(palette));
}

UniqueBitmap LoadDibWithPalette(HINSTANCE instance, LPCSTR name, UniquePalette& palette)
{
    const HRSRC found = ::FindResourceA(instance, name, RT_BITMAP);
    const HGLOBAL loaded = found != nullptr ? ::LoadResource(instance, found) : nullptr;
    const auto* bitmap = loaded != nullptr ? static_cast<const BITMAPINFO*>(::LockResource(loaded)) : nullptr;
    if (bitmap == nullptr)
        return {};
    int colours = 0;
    palette = CreateDibPalette(*bitmap, colours);
    const CWindowDC screen(nullptr);
    const CSelectPalette selection(screen.get(), palette.get());
    const auto* pixels = reinterpret_cast<const BYTE*>(bitmap) + bitmap->bmiHeader.biSize +
                         static_cast<size_t>(colours) * sizeof(RGBQUAD);
    return UniqueBitmap(
        ::CreateDIBitmap(screen.get(), &bitmap->bmiHeader, CBM_INIT, pixels, bitmap, DIB_RGB_COLORS));
}

}  // namespace stratigon::win32
