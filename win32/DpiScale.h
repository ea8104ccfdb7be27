// The display scale a window is laid out for: sizes meant for 100 % (96 DPI) in pixels at it,
// the system's metrics and fonts at it, and which of the sizes a bitmap was drawn in it asks for.
#pragma once

#include <windows.h>

#include <span>

#include "win32/UniqueHandle.h"

namespace stratigon::win32 {

class DpiScale {
public:
    static constexpr UINT kStandardDpi = 96;

    constexpr explicit DpiScale(UINT dpi = kStandardDpi) : m_dpi(dpi) {}
    // The window's own scale where the system knows one per window (Windows 10 1607 on), the
    // system's elsewhere, as a system-aware program sees it.
    static DpiScale OfWindow(HWND window);
    // The scale of the monitor that shows the point (screen coordinates).
    static DpiScale AtPoint(POINT point);
    static DpiScale OfSystem();

    UINT Dpi() const { return m_dpi; }
    // `pixels` at 100 %, at this scale.
    int Pixels(int pixels) const { return ::MulDiv(pixels, static_cast<int>(m_dpi), kStandardDpi); }
    int SystemMetric(int index) const;
    // The font the system gives status bars, at this scale.
    UniqueFont StatusFont() const;
    // A font of `points` points at this scale.
    UniqueFont PointFont(const char* face, int points, int weight = FW_NORMAL) const;
    // Of a picture drawn at the scales `percents` (ascending), the index of the largest one not
    // above this scale: a bitmap is never stretched, nor drawn larger than the text beside it.
    std::size_t Choose(std::span<const int> percents) const;

    bool operator==(const DpiScale&) const = default;

private:
    UINT m_dpi;
};

}  // namespace stratigon::win32
