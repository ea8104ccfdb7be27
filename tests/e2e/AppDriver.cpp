#include "e2e/AppDriver.h"

#include <thread>

namespace stratigon::test {

namespace {

constexpr auto kPoll = std::chrono::milliseconds(50);
constexpr char kDialogClass[] = "#32770";
constexpr char kMessageBoxCaption[] = "Stratigon";
constexpr int kMessageBoxText = 0xFFFF;

struct Search {
    DWORD processId;
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    char caption[256] = {};
    ::GetWindowTextA(window, caption, sizeof caption);
    if (owner == search->processId && ::IsWindowVisible(window) && *search->caption == caption &&
        std::string(className) == kDialogClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

template <typename Condition>
bool WaitFor(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + AppDriver::kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition())
            return true;
        std::this_thread::sleep_for(kPoll);
    }
    return false;
}

// Texts cross the process boundary as wide characters: the other program's controls are
// Unicode windows, and only the wide messages are converted faithfully between processes.
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

AppDriver::~AppDriver()
{
    if (m_process.hProcess != nullptr) {
        if (IsRunning())
            ::TerminateProcess(m_process.hProcess, 99);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
}

bool AppDriver::Start(const std::string& program, const std::vector<std::pair<std::string, std::string>>& environment)
{
    for (const auto& [name, value] : environment)
        ::SetEnvironmentVariableA(name.c_str(), value.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    const BOOL started = ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, &startup, &m_process);
    for (const auto& entry : environment)
        ::SetEnvironmentVariableA(entry.first.c_str(), nullptr);
    return started != FALSE;
}

bool AppDriver::IsRunning() const { return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }

int AppDriver::WaitForExit()
{
    const auto patience = std::chrono::duration_cast<std::chrono::milliseconds>(kPatience).count();
    if (::WaitForSingleObject(m_process.hProcess, static_cast<DWORD>(patience)) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return static_cast<int>(code);
}

HWND AppDriver::FindWindowOfProcess(const std::string& caption) const
{
    Search search{m_process.dwProcessId, &caption, nullptr};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND AppDriver::WaitForWindow(const std::string& caption) const
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowOfProcess(caption)) != nullptr || !IsRunning(); });
    return found;
}

bool AppDriver::WaitUntilGone(const std::string& caption) const
{
    return WaitFor([&] { return FindWindowOfProcess(caption) == nullptr; });
}

std::string AppDriver::AnswerMessageBox() const
{
    const HWND box = WaitForWindow(kMessageBoxCaption);
    if (box == nullptr)
        return "(no message box)";
    const std::string text = Text(box, kMessageBoxText);
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitFor([&] { return !::IsWindow(box); });
    return text;
}

std::string AppDriver::Text(HWND dialog, int id)
{
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(dialog, id, text, 1024);
    return Narrow(text);
}

bool AppDriver::IsVisible(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE; }
bool AppDriver::IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

std::vector<std::string> AppDriver::ComboEntries(HWND dialog, int id)
{
    return Entries(::GetDlgItem(dialog, id), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::vector<std::string> AppDriver::ListEntries(HWND dialog, int id)
{
    return Entries(::GetDlgItem(dialog, id), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

int AppDriver::ComboSelection(HWND dialog, int id)
{
    return static_cast<int>(::SendMessageA(::GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

void AppDriver::PickComboEntry(HWND dialog, int id, int index)
{
    const HWND combo = ::GetDlgItem(dialog, id);
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void AppDriver::PickListEntry(HWND dialog, int id, int index)
{
    const HWND list = ::GetDlgItem(dialog, id);
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void AppDriver::Click(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void AppDriver::TypeFileName(HWND fileDialog, const std::string& path)
{
    // The name field of the file dialogs in use is a combo box with an edit inside.
    constexpr int kNameCombo = 0x47C;
    constexpr int kNameEdit = 0x480;
    HWND field = ::GetDlgItem(fileDialog, kNameCombo);
    if (field == nullptr || !::IsWindowVisible(field))
        field = ::GetDlgItem(fileDialog, kNameEdit);
    const std::wstring wide(path.begin(), path.end());
    ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void AppDriver::Command(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

}  // namespace stratigon::test
