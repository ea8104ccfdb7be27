#include "ui/CMainStatusBar.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "res/resource.h"
#include "ui/ScaledBitmaps.h"
#include "win32/BitmapDrawing.h"
#include "win32/CDialog.h"
#include "win32/GdiGuards.h"

namespace stratigon::ui {

namespace {

constexpr COLORREF kClientColour = RGB(0, 0, 255);
// Room between a pane's edge and what it shows, at 100 %: the pane's sunken edge and a little air.
constexpr int kPaneMargin = 3;

SIZE BitmapSize(UINT bitmapId)
{
    const win32::UniqueBitmap bitmap(::LoadBitmapA(win32::CDialog::ResourceInstance(), MAKEINTRESOURCEA(bitmapId)));
    BITMAP size{};
    if (bitmap)
        ::GetObjectA(bitmap.get(), sizeof size, &size);
    return SIZE{size.bmWidth, size.bmHeight};
}

}  // namespace

bool CMainStatusBar::Create(HWND dialog)
{
    m_hwnd = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0,
                               dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)),
                               win32::CDialog::ResourceInstance(), nullptr);
    if (m_hwnd == nullptr)
        return false;
    SetScale(win32::DpiScale::OfWindow(dialog));
    return true;
}

void CMainStatusBar::SetScale(win32::DpiScale scale)
{
    m_scale = scale;
    win32::UniqueFont font = scale.StatusFont();
    ::SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    m_font = std::move(font);
    LayOut();
}

// The status pane takes what the other two leave; those are as wide as what they show.
void CMainStatusBar::LayOut()
{
    const SIZE logo = BitmapSize(LogoBitmap());
    // Tall enough for the logo inside the panes' edges, whatever the font's height.
    ::SendMessageA(m_hwnd, SB_SETMINHEIGHT, static_cast<WPARAM>(logo.cy + 2 * m_scale.SystemMetric(SM_CYBORDER)), 0);
    ::SendMessageA(m_hwnd, WM_SIZE, 0, 0);
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    int borders[3] = {};
    ::SendMessageA(m_hwnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int padding = borders[2] + 2 * m_scale.Pixels(kPaneMargin);
    const int logoPane = std::max(TextWidth(IDS_LOGO_PANE), static_cast<int>(logo.cx)) + padding;
    const int indicator = TextWidth(IDS_CLIENT_INDICATOR) + padding;
    int edges[3] = {client.right - logoPane - indicator, client.right - logoPane, -1};
    ::SendMessageA(m_hwnd, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    ::SendMessageA(m_hwnd, SB_SETTEXTA, SBT_OWNERDRAW | kClientPane, 0);
    ::SendMessageA(m_hwnd, SB_SETTEXTA, SBT_OWNERDRAW | kLogoPane, 0);
}

UINT CMainStatusBar::LogoBitmap() const { return BitmapForScale(IDB_STATUS_LOGO, m_scale); }

int CMainStatusBar::TextWidth(UINT stringId) const
{
    const std::string text = win32::LoadResourceString(stringId);
    const win32::CWindowDC dc(m_hwnd);
    const win32::CSelectObject selection(dc.get(), m_font.get());
    SIZE size{};
    ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void CMainStatusBar::SetStatusText(const std::string& text)
{
    ::SendMessageA(m_hwnd, SB_SETTEXTA, kStatusPane, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CMainStatusBar::StatusText() const
{
    const auto length = LOWORD(::SendMessageA(m_hwnd, SB_GETTEXTLENGTHA, kStatusPane, 0));
    std::vector<char> text(length + 1u);
    ::SendMessageA(m_hwnd, SB_GETTEXTA, kStatusPane, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

void CMainStatusBar::RedrawNow()
{
    ::RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// Status bars do not say reliably what kind of control asks; the part index tells the pane.
void CMainStatusBar::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (item.itemID == kClientPane)
        DrawClientPane(item);
    else if (item.itemID == kLogoPane)
        DrawLogoPane(item);
}

void CMainStatusBar::DrawClientPane(const DRAWITEMSTRUCT& item)
{
    RECT pane = item.rcItem;
    ::FillRect(item.hDC, &pane, ::GetSysColorBrush(COLOR_BTNFACE));
    const std::string text = m_clientConnected() ? win32::LoadResourceString(IDS_CLIENT_INDICATOR) : std::string();
    const COLORREF textColour = ::SetTextColor(item.hDC, kClientColour);
    const COLORREF background = ::SetBkColor(item.hDC, ::GetSysColor(COLOR_BTNFACE));
    ::DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &pane, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(item.hDC, textColour);
    ::SetBkColor(item.hDC, background);
}

void CMainStatusBar::DrawLogoPane(const DRAWITEMSTRUCT& item) const
{
    const SIZE logo = BitmapSize(LogoBitmap());
    const LONG width = item.rcItem.right - item.rcItem.left;
    const LONG height = item.rcItem.bottom - item.rcItem.top;
    RECT place{item.rcItem.left + (width - logo.cx) / 2, item.rcItem.top + (height - logo.cy) / 2, 0, 0};
    win32::DrawTransparentBitmap(item.hDC, LogoBitmap(), place);
}

}  // namespace stratigon::ui
