#include "win32/CHelpPopup.h"

#include <algorithm>

#include "win32/CDialog.h"
#include "win32/GdiGuards.h"

namespace stratigon::win32 {

namespace {

constexpr int kMargin = 8;
constexpr int kMaximumTextWidth = 320;
constexpr int kPointSize = 8;

void RegisterPopupClass(WNDPROC procedure)
{
    static const bool registered = [procedure] {
        WNDCLASSA kind{};
        kind.style = CS_SAVEBITS | CS_DROPSHADOW;
        kind.lpfnWndProc = procedure;
        kind.hInstance = CDialog::ResourceInstance();
        kind.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        kind.lpszClassName = CHelpPopup::kClassName;
        return ::RegisterClassA(&kind) != 0;
    }();
    (void)registered;
}

bool EndsThePopup(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_NCLBUTTONDOWN:
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_CAPTURECHANGED: case WM_CANCELMODE:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool CHelpPopup::Show(const std::string& text, POINT point)
{
    Close();
    RegisterPopupClass(&CHelpPopup::WindowProc);
    m_text = text;
    // Laid out for the monitor it shows on.
    m_scale = DpiScale::AtPoint(point);
    m_font = m_scale.PointFont("Arial", kPointSize);
    // The text is also the window's name, for screen readers.
    m_hwnd = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, text.c_str(), WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                               nullptr, nullptr, CDialog::ResourceInstance(), this);
    if (m_hwnd == nullptr)
        return false;
    const CWindowDC dc(m_hwnd);
    const RECT area = TextArea(dc.get());
    const int margin = m_scale.Pixels(kMargin);
    const int width = area.right + 2 * margin + 2 * m_scale.SystemMetric(SM_CXBORDER);
    const int height = area.bottom + 2 * margin + 2 * m_scale.SystemMetric(SM_CYBORDER);
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int x = std::clamp(static_cast<int>(point.x) - width / 2, static_cast<int>(work.left),
                             std::max(static_cast<int>(work.left), static_cast<int>(work.right) - width));
    const int y = std::clamp(static_cast<int>(point.y), static_cast<int>(work.top),
                             std::max(static_cast<int>(work.top), static_cast<int>(work.bottom) - height));
    ::SetWindowPos(m_hwnd, HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW);
    ::SetForegroundWindow(m_hwnd);
    ::SetFocus(m_hwnd);
    ::SetCapture(m_hwnd);
    return true;
}

void CHelpPopup::Close()
{
    if (m_hwnd != nullptr && !m_closing) {
        m_closing = true;
        ::DestroyWindow(m_hwnd);
    }
}

RECT CHelpPopup::TextArea(HDC dc) const
{
    const CSelectObject font(dc, m_font.get());
    RECT area{0, 0, m_scale.Pixels(kMaximumTextWidth), 0};
    ::DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &area, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return area;
}

void CHelpPopup::Paint()
{
    const CPaintDC paint(m_hwnd);
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    const UniqueBrush background(::CreateSolidBrush(kBackground));
    ::FillRect(paint.get(), &client, background.get());
    const CSelectObject font(paint.get(), m_font.get());
    ::SetBkMode(paint.get(), TRANSPARENT);
    ::SetTextColor(paint.get(), RGB(0, 0, 0));
    ::InflateRect(&client, -m_scale.Pixels(kMargin), -m_scale.Pixels(kMargin));
    ::DrawTextA(paint.get(), m_text.c_str(), static_cast<int>(m_text.size()), &client, DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT CALLBACK CHelpPopup::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* popup = reinterpret_cast<CHelpPopup*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (popup == nullptr)
        return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        popup->m_hwnd = nullptr;
        popup->m_closing = false;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    } else if (message == WM_PAINT) {
        popup->Paint();
        return 0;
    } else if (message == WM_GETFONT) {
        return reinterpret_cast<LRESULT>(popup->m_font.get());
    } else if (!popup->m_closing && (EndsThePopup(message) || (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE))) {
        popup->m_closing = true;
        if (message != WM_CAPTURECHANGED)
            ::ReleaseCapture();
        ::DestroyWindow(window);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace stratigon::win32
