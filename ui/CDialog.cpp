#include "ui/CDialog.h"

#include <vector>

namespace stratigon::ui {

CDialog::CDialog(UINT templateId) : m_templateId(templateId) {}

CDialog::~CDialog() { DestroyWindow(); }

HINSTANCE CDialog::ResourceInstance() { return ::GetModuleHandleA(nullptr); }

INT_PTR CDialog::DoModal(HWND parent)
{
    m_modal = true;
    const INT_PTR result = ::DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(m_templateId), parent,
                                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_modal = false;
    return result;
}

bool CDialog::Create(HWND parent)
{
    m_modal = false;
    return ::CreateDialogParamA(ResourceInstance(), MAKEINTRESOURCEA(m_templateId), parent, &CDialog::DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::DestroyWindow()
{
    if (m_hwnd != nullptr && !m_modal)
        ::DestroyWindow(m_hwnd);
}

void CDialog::EndDialog(INT_PTR result)
{
    if (m_modal)
        ::EndDialog(m_hwnd, result);
    else
        DestroyWindow();
}

bool CDialog::OnCommand(WORD id, WORD)
{
    switch (id) {
    case IDOK: OnOK(); return true;
    case IDCANCEL: OnCancel(); return true;
    default: return false;
    }
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

std::string CDialog::ItemText(int id) const
{
    const HWND item = Item(id);
    const int length = ::GetWindowTextLengthA(item);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    ::GetWindowTextA(item, text.data(), length + 1);
    return text.data();
}

POINT CDialog::TopLeft() const
{
    RECT bounds{};
    ::GetWindowRect(m_hwnd, &bounds);
    return POINT{bounds.left, bounds.top};
}

void CDialog::MoveTo(POINT topLeft)
{
    ::SetWindowPos(m_hwnd, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::CenterOnScreen()
{
    RECT bounds{};
    ::GetWindowRect(m_hwnd, &bounds);
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const LONG width = bounds.right - bounds.left;
    const LONG height = bounds.bottom - bounds.top;
    MoveTo(POINT{work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2});
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        dialog->m_hwnd = hwnd;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (dialog == nullptr)
        return FALSE;
    if (message == WM_NCDESTROY) {
        dialog->m_hwnd = nullptr;
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        return FALSE;
    }
    return dialog->Route(message, wParam, lParam);
}

INT_PTR CDialog::Route(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result))
        return FALSE;
    ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

std::string LoadResourceString(UINT id)
{
    char text[1024] = {};
    const int length = ::LoadStringA(CDialog::ResourceInstance(), id, text, sizeof text);
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}

}  // namespace stratigon::ui
