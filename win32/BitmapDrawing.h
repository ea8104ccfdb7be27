// The bitmap routines of the About box and the status bar: a bitmap drawn with light grey as
// its transparent colour, and a device-dependent bitmap made from a resource with its own
// palette.
#pragma once

#include <windows.h>

#include "win32/UniqueHandle.h"

namespace stratigon::win32 {

inline constexpr COLORREF kTransparentColour = RGB(192, 192, 192);

// Draws bitmap resource `bitmapId` at the top left of `rect`, leaving the background where the
// bitmap is light grey; `rect` then ends where the bitmap does. False when the bitmap or a
// memory context could not be had.
bool DrawTransparentBitmap(HDC dc, UINT bitmapId, RECT& rect);

// The logical palette of a packed bitmap's colour table; none (and 0 colours) above 8 bits per
// pixel. `colours` is the number of colour-table entries, which the pixels follow.
UniquePalette CreateDibPalette(const BITMAPINFO& bitmap, int& colours);

// A device-dependent bitmap from bitmap resource `name`, made with the bitmap's own palette
// (given back in `palette`, null above 8 bits per pixel). Null when the resource is missing.
UniqueBitmap LoadDibWithPalette(HINSTANCE instance, LPCSTR name, UniquePalette& palette);

}  // namespace stratigon::win32
