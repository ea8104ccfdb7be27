#include "support/DialogControls.h"

namespace stratigon::test {

namespace {

// Texts are read as wide characters: the program's controls are Unicode windows, and only the
// wide messages are converted faithfully when they cross into another process.
std::string Narrow(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size, nullptr,
                          nullptr);
    return result;
}

std::vector<std::string> Entries(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage)
{
    std::vector<std::string> entries;
    const LRESULT count = ::SendMessageW(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(control, lengthMessage, static_cast<WPARAM>(i), 0);
        if (length < 0)
            break;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT copied =
            ::SendMessageW(control, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(copied > 0 && copied <= length ? copied : 0));
        entries.push_back(Narrow(text));
    }
    return entries;
}

}  // namespace

std::string ControlText(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

// Asked of the window itself: GetWindowText would not ask a window of another process.
std::string WindowText(HWND window)
{
    wchar_t text[1024] = {};
    ::SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

bool IsShown(HWND dialog, int id)
{
    return (::GetWindowLongPtrW(::GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsEnabledControl(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

std::vector<std::string> ComboEntries(HWND dialog, int id)
{
    return Entries(::GetDlgItem(dialog, id), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::vector<std::string> ListEntries(HWND dialog, int id)
{
    return Entries(::GetDlgItem(dialog, id), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

}  // namespace stratigon::test
