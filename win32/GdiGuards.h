// Owners for device contexts and guards that undo a selection into one: each puts back what
// it found when it goes, on every path out of the code that made it.
#pragma once

#include <windows.h>

#include "win32/UniqueHandle.h"

namespace stratigon::win32 {

// A memory device context, deleted when its owner goes.
using UniqueDC = UniqueHandle<HDC, &::DeleteDC>;

// The device context of a window from GetDC, released to that window.
class CWindowDC {
public:
    explicit CWindowDC(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~CWindowDC()
    {
        if (m_dc != nullptr)
            ::ReleaseDC(m_window, m_dc);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint and EndPaint around one WM_PAINT.
class CPaintDC {
public:
    explicit CPaintDC(HWND window) : m_window(window) { ::BeginPaint(window, &m_paint); }
    ~CPaintDC() { ::EndPaint(m_window, &m_paint); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC get() const { return m_paint.hdc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
};

// A GDI object selected into a context for the guard's life.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~CSelectObject()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR)
            ::SelectObject(m_dc, m_previous);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A palette selected as a foreground palette and realized; the previous one goes back in the
// background when the guard goes. A null palette selects nothing.
class CSelectPalette {
public:
    CSelectPalette(HDC dc, HPALETTE palette) : m_dc(dc)
    {
        if (palette == nullptr)
            return;
        m_previous = ::SelectPalette(dc, palette, FALSE);
        ::RealizePalette(dc);
    }
    ~CSelectPalette()
    {
        if (m_previous != nullptr)
            ::SelectPalette(m_dc, m_previous, TRUE);
    }
    CSelectPalette(const CSelectPalette&) = delete;
    CSelectPalette& operator=(const CSelectPalette&) = delete;

private:
    HDC m_dc;
    HPALETTE m_previous = nullptr;
};

}  // namespace stratigon::win32
