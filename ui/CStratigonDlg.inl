// Template definitions of CStratigonDlg; included by its header only.
#include "res/resource.h"

namespace stratigon::ui {

namespace detail {
UniqueIcon LoadApplicationIcon(int metricX, int metricY);
void AddAboutToSystemMenu(HWND dialog);
void PaintMinimizedIcon(HWND dialog, HICON icon);
}  // namespace detail

template <class T>
CStratigonDlg<T>::CStratigonDlg(UINT templateId)
    : CDialogImpl<T>(templateId),
      m_largeIcon(detail::LoadApplicationIcon(SM_CXICON, SM_CYICON)),
      m_smallIcon(detail::LoadApplicationIcon(SM_CXSMICON, SM_CYSMICON))
{
}

template <class T>
BOOL CStratigonDlg<T>::OnInitDialog()
{
    detail::AddAboutToSystemMenu(this->GetHwnd());
    ::SendMessageA(this->GetHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_largeIcon.get()));
    ::SendMessageA(this->GetHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
    return TRUE;
}

template <class T>
bool CStratigonDlg<T>::HandleSysCommand(WPARAM wParam, LPARAM, LRESULT& result)
{
    if ((wParam & 0xFFF0) != ID_SYSTEM_ABOUT)
        return false;
    OnAbout();
    result = 0;
    return true;
}

template <class T>
bool CStratigonDlg<T>::HandlePaint(WPARAM, LPARAM, LRESULT& result)
{
    if (!::IsIconic(this->GetHwnd()))
        return false;
    detail::PaintMinimizedIcon(this->GetHwnd(), m_largeIcon.get());
    result = 0;
    return true;
}

template <class T>
bool CStratigonDlg<T>::HandleQueryDragIcon(WPARAM, LPARAM, LRESULT& result)
{
    result = reinterpret_cast<LRESULT>(m_largeIcon.get());
    return true;
}

}  // namespace stratigon::ui
