#include "ui/CMainStatusBar.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "res/resource.h"
#include "win32/BitmapDrawing.h"
#include "win32/CDialog.h"
#include "win32/GdiGuards.h"

namespace stratigon::ui {

namespace {

constexpr COLORREF kClientColour = RGB(0, 0, 255);

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
    m_hwnd = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)), win32::CDialog::ResourceInstance(), nullptr);
    if (m_hwnd == nullptr)
        return false;
    LayOut();
    return true;
}

// The status pane takes what the other two leave; those are as wide as their texts.
void CMainStatusBar::LayOut()
{
    ::SendMessageA(m_hwnd, WM_SIZE, 0, 0);
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    int borders[3] = {};
    ::SendMessageA(m_hwnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int padding = 2 * borders[0] + borders[2];
    // The logo pane is never narrower than the logo, which would be cut off.
    const int logo = std::max(TextWidth(IDS_LOGO_PANE), static_cast<int>(BitmapSize(IDB_STATUS_LOGO).cx)) + padding;
    const int indicator = TextWidth(IDS_CLIENT_INDICATOR) + padding;
    int edges[3] = {client.right - logo - indicator, client.right - logo, -1};
    ::SendMessageA(m_hwnd, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    ::SendMessageA(m_hwnd, SB_SETTEXTA, SBT_OWNERDRAW | kClientPane, 0);
    ::SendMessageA(m_hwnd, SB_SETTEXTA, SBT_OWNERDRAW | kLogoPane, 0);
}

int CMainStatusBar::TextWidth(UINT stringId) const
{
    const std::string text = win32::LoadResourceString(stringId);
    const win32::CWindowDC dc(m_hwnd);
    auto font = reinterpret_cast<HFONT>(::SendMessageA(m_hwnd, WM_GETFONT, 0, 0));
    const win32::CSelectObject selection(dc.get(), font != nullptr ? font : ::GetStockObject(DEFAULT_GUI_FONT));
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

void CMainStatusBar::DrawLogoPane(const DRAWITEMSTRUCT& item)
{
    const SIZE logo = BitmapSize(IDB_STATUS_LOGO);
    const LONG width = item.rcItem.right - item.rcItem.left;
    const LONG height = item.rcItem.bottom - item.rcItem.top;
    RECT place{item.rcItem.left + (width - logo.cx) / 2, item.rcItem.top + (height - logo.cy) / 2, 0, 0};
    win32::DrawTransparentBitmap(item.hDC, IDB_STATUS_LOGO, place);
}

}  // namespace stratigon::ui
