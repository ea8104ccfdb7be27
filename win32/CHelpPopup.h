// A What's This popup of our own where HTML Help shows none: the topic's text on pale yellow in
// Arial 8 at a point, at that monitor's scale, gone with the next click or key.
#pragma once

#include <windows.h>

#include <string>

#include "win32/DpiScale.h"
#include "win32/UniqueHandle.h"

namespace stratigon::win32 {

class CHelpPopup {
public:
    static constexpr char kClassName[] = "StratigonHelpPopup";
    static constexpr COLORREF kBackground = RGB(255, 255, 208);

    CHelpPopup() = default;
    ~CHelpPopup() { Close(); }
    CHelpPopup(const CHelpPopup&) = delete;
    CHelpPopup& operator=(const CHelpPopup&) = delete;

    // Shows `text` with its top centred on `point` (screen coordinates), kept on the screen.
    bool Show(const std::string& text, POINT point);
    void Close();
    HWND GetHwnd() const { return m_hwnd; }
    const std::string& Text() const { return m_text; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    RECT TextArea(HDC dc) const;
    void Paint();

    HWND m_hwnd = nullptr;  // the window ends itself; WM_NCDESTROY clears this
    bool m_closing = false;
    std::string m_text;
    DpiScale m_scale;
    UniqueFont m_font;
};

}  // namespace stratigon::win32
