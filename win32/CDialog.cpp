#include "win32/CDialog.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace stratigon::win32 {

namespace {

// Messages whose result the dialog manager takes from the dialog procedure's own return
// value rather than from DWLP_MSGRESULT.
constexpr UINT kDirectResultMessages[] = {
    WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, WM_CTLCOLORDLG,
    WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM,
    WM_QUERYDRAGICON, WM_INITDIALOG,
};

bool ReturnsResultDirectly(UINT message)
{
    return std::find(std::begin(kDirectResultMessages), std::end(kDirectResultMessages), message) !=
           std::end(kDirectResultMessages);
}

}  // namespace

HWND CDialog::s_applicationWindow = nullptr;
int CDialog::s_windowsOutlivingTheirDialog = 0;

CDialog::CDialog(UINT templateId) : m_templateId(templateId) {}

CDialog::~CDialog()
{
    if (m_hwnd == nullptr)
        return;
    ++s_windowsOutlivingTheirDialog;
    ::OutputDebugStringA("Stratigon: a dialog object went before its window\n");
    ::SetWindowLongPtrA(m_hwnd, DWLP_USER, 0);
    if (s_applicationWindow == m_hwnd)
        s_applicationWindow = nullptr;
    if (!m_modal)
        ::DestroyWindow(m_hwnd);
}

HINSTANCE CDialog::ResourceInstance() { return ::GetModuleHandleA(nullptr); }

INT_PTR CDialog::DoModal(HWND parent)
{
    if (parent == nullptr && ::IsWindow(s_applicationWindow))
        parent = s_applicationWindow;
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

void CDialog::OnDpiChanged(DpiScale, const RECT& suggested)
{
    ::SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog manager scales the template's controls and fonts when the dialog procedure leaves
// the message to it, which it asks first: asked from here, the procedure declines, the manager
// does its part, and the dialog's own pixel layout comes last.
INT_PTR CDialog::HandleDpiChanged(WPARAM wParam, LPARAM lParam)
{
    if (m_dialogManagerScaling)
        return FALSE;
    m_dialogManagerScaling = true;
    ::DefDlgProcA(m_hwnd, WM_DPICHANGED, wParam, lParam);
    m_dialogManagerScaling = false;
    OnDpiChanged(DpiScale(LOWORD(wParam)), *reinterpret_cast<const RECT*>(lParam));
    ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, 0);
    return TRUE;
}

void CDialog::AttachOwnerDraw(int id, IOwnerDraw& control) { m_ownerDrawn.emplace_back(id, &control); }

void CDialog::BecomeApplicationWindow() { s_applicationWindow = m_hwnd; }

bool CDialog::DrawOwnerDrawn(const DRAWITEMSTRUCT& item)
{
    for (const auto& [id, control] : m_ownerDrawn) {
        if (static_cast<UINT>(id) == item.CtlID) {
            control->DrawItem(item);
            return true;
        }
    }
    return false;
}

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

SIZE CDialog::TemplateClientSize() const
{
    const HINSTANCE instance = ResourceInstance();
    const HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(m_templateId), MAKEINTRESOURCEA(5));  // RT_DIALOG
    const auto* words = found != nullptr ? static_cast<const WORD*>(::LockResource(::LoadResource(instance, found))) : nullptr;
    if (words == nullptr)
        return SIZE{};
    // An extended template begins with its version 1 and 0xFFFF; its size follows the help id,
    // both styles, the item count and the position.
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    const auto* size = reinterpret_cast<const short*>(words) + (extended ? 11 : 7);
    RECT area{0, 0, size[0], size[1]};
    ::MapDialogRect(m_hwnd, &area);
    return SIZE{area.right, area.bottom};
}

void CDialog::ArrangeTabOrder(std::initializer_list<int> ids)
{
    HWND previous = nullptr;
    for (const int id : ids) {
        if (previous != nullptr)
            ::SetWindowPos(Item(id), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = Item(id);
    }
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
        if (s_applicationWindow == hwnd)
            s_applicationWindow = nullptr;
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
    if (message == WM_DRAWITEM && DrawOwnerDrawn(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
        return TRUE;
    if (message == WM_DPICHANGED)
        return HandleDpiChanged(wParam, lParam);
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result))
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

std::string LoadResourceString(UINT id)
{
    char text[1024] = {};
    const int length = ::LoadStringA(CDialog::ResourceInstance(), id, text, sizeof text);
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}

}  // namespace stratigon::win32
