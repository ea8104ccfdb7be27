#include "ui/CStratigonDlg.h"

#include "res/resource.h"
#include "ui/CAboutDlg.h"
#include "win32/GdiGuards.h"

namespace stratigon::ui {

namespace {

win32::UniqueIcon LoadApplicationIcon(int metricX, int metricY)
{
    return win32::UniqueIcon(static_cast<HICON>(::LoadImageA(win32::CDialog::ResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                      IMAGE_ICON, ::GetSystemMetrics(metricX),
                                                      ::GetSystemMetrics(metricY), 0)));
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
    : CDialogImpl(templateId), m_versions(versions),
      m_largeIcon(LoadApplicationIcon(SM_CXICON, SM_CYICON)),
      m_smallIcon(LoadApplicationIcon(SM_CXSMICON, SM_CYSMICON))
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
    ::SendMessageA(GetHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_largeIcon.get()));
    ::SendMessageA(GetHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
    return TRUE;
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
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
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
