#include "ui/CStratigonDlg.h"

namespace stratigon::ui::detail {

UniqueIcon LoadApplicationIcon(int metricX, int metricY)
{
    return UniqueIcon(static_cast<HICON>(::LoadImageA(CDialog::ResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                      IMAGE_ICON, ::GetSystemMetrics(metricX),
                                                      ::GetSystemMetrics(metricY), 0)));
}

void AddAboutToSystemMenu(HWND dialog)
{
    const std::string about = LoadResourceString(IDS_ABOUTBOX);
    const HMENU systemMenu = ::GetSystemMenu(dialog, FALSE);
    if (systemMenu == nullptr || about.empty())
        return;
    ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(systemMenu, MF_STRING, ID_SYSTEM_ABOUT, about.c_str());
}

void PaintMinimizedIcon(HWND dialog, HICON icon)
{
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(dialog, &paint);
    ::SendMessageA(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(dialog, &client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, icon);
    ::EndPaint(dialog, &paint);
}

}  // namespace stratigon::ui::detail
