#include "ui/CStratigonDlg.h"

#include "res/resource.h"
#include "ui/CAboutDlg.h"
#include "win32/GdiGuards.h"

namespace stratigon::ui {

namespace {

// The application icon in the size the system asks for at `scale`: the icon file holds one
// image for each size a scale asks for, so none is stretched.
win32::UniqueIcon LoadApplicationIcon(const win32::DpiScale& scale, int metricX, int metricY)
{
    return win32::UniqueIcon(static_cast<HICON>(::LoadImageA(win32::CDialog::ResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                             IMAGE_ICON, scale.SystemMetric(metricX),
                                                             scale.SystemMetric(metricY), 0)));
}

void AddAboutToSystemMenu(HWND dialog)
{
    const std::string about = win32::LoadResourceString(IDS_ABOUTBOX);
    const HMENU systemMenu = ::GetSystemMenu(dialog, FALSE);
    if (systemMenu == nullptr || about.empty())
        return;
    ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(systemMenu, MF_STRING, ID_SYSTEM_ABOUT, about.c_str());
}

}  // namespace

CStratigonDlg::CStratigonDlg(UINT templateId, IVersionResources* versions)
    : CDialogImpl(templateId), m_versions(versions)
{
}

std::span<const CStratigonDlg::CommandEntry> CStratigonDlg::CommandTable()
{
    static const CommandEntry table[] = {
        {ID_HELP_ABOUT, &CStratigonDlg::OnAbout},
    };
    return table;
}

std::span<const CStratigonDlg::MessageEntry> CStratigonDlg::MessageTable()
{
    static const MessageEntry table[] = {
        {WM_SYSCOMMAND, &CStratigonDlg::HandleSysCommand},
        {WM_PAINT, &CStratigonDlg::HandlePaint},
        {WM_QUERYDRAGICON, &CStratigonDlg::HandleQueryDragIcon},
    };
    return table;
}

BOOL CStratigonDlg::OnInitDialog()
{
    AddAboutToSystemMenu(GetHwnd());
    SetIcons(win32::DpiScale::OfWindow(GetHwnd()));
    return TRUE;
}

void CStratigonDlg::OnDpiChanged(win32::DpiScale scale, const RECT& suggested)
{
    CDialogImpl::OnDpiChanged(scale, suggested);
    SetIcons(scale);
}

// The window takes the new icons before the old ones go.
void CStratigonDlg::SetIcons(const win32::DpiScale& scale)
{
    m_scale = scale;
    win32::UniqueIcon bigIcon = LoadApplicationIcon(scale, SM_CXICON, SM_CYICON);
    win32::UniqueIcon smallIcon = LoadApplicationIcon(scale, SM_CXSMICON, SM_CYSMICON);
    ::SendMessageA(GetHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    ::SendMessageA(GetHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    m_largeIcon = std::move(bigIcon);
    m_smallIcon = std::move(smallIcon);
}

void CStratigonDlg::OnAbout()
{
    CAboutDlg about(m_versions);
    about.DoModal(nullptr);
}

bool CStratigonDlg::HandleSysCommand(WPARAM wParam, LPARAM, LRESULT& result)
{
    if ((wParam & 0xFFF0) != ID_SYSTEM_ABOUT)
        return false;
    OnAbout();
    result = 0;
    return true;
}

bool CStratigonDlg::HandlePaint(WPARAM, LPARAM, LRESULT& result)
{
    if (!::IsIconic(GetHwnd()))
        return false;
    win32::CPaintDC paint(GetHwnd());
    ::SendMessageA(GetHwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
    RECT client{};
    ::GetClientRect(GetHwnd(), &client);
    const int x = (client.right - client.left - m_scale.SystemMetric(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - m_scale.SystemMetric(SM_CYICON) + 1) / 2;
    ::DrawIcon(paint.get(), x, y, m_largeIcon.get());
    result = 0;
    return true;
}

bool CStratigonDlg::HandleQueryDragIcon(WPARAM, LPARAM, LRESULT& result)
{
    result = reinterpret_cast<LRESULT>(m_largeIcon.get());
    return true;
}

}  // namespace stratigon::ui
