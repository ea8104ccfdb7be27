#include "e2e/AppDriver.h"

#include "support/DialogControls.h"
#include "win32/AnsiText.h"
#include "win32/ProgramPath.h"

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
    bool byClass = false;
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
    const bool anyProcess = search->processId == 0;
    const bool named = search->byClass ? *search->caption == className
                                       : *search->caption == caption && std::string(className) == kDialogClass;
    if ((anyProcess || owner == search->processId) && ::IsWindowVisible(window) && named) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CloseWindowOfProcess(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId) && ::IsWindowVisible(window))
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds patience = AppDriver::kPatience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition())
            return true;
        std::this_thread::sleep_for(kPoll);
    }
    return false;
}

}  // namespace

AppDriver::~AppDriver()
{
    m_watching = false;
    if (m_watcher.joinable())
        m_watcher.join();
    if (m_process.hProcess != nullptr) {
        // A killed server stays registered with Wine's COM, and every later client would be
        // sent to it: end the program as a person would, while it lets itself be ended.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (IsRunning() && std::chrono::steady_clock::now() < deadline) {
            ::EnumWindows(&CloseWindowOfProcess, static_cast<LPARAM>(m_process.dwProcessId));
            ::WaitForSingleObject(m_process.hProcess, 200);
        }
        if (IsRunning())
            ::TerminateProcess(m_process.hProcess, 99);
        ::CloseHandle(m_process.hProcess);
        if (m_process.hThread != nullptr)
            ::CloseHandle(m_process.hThread);
    }
}

std::string AppDriver::ProgramBesideThisOne(const std::string& name)
{
    return win32::AnsiPath(win32::ProgramFolder()) + "\\" + name;
}

bool AppDriver::Start(const std::string& program, const Environment& environment, const std::string& arguments)
{
    for (const auto& [name, value] : environment)
        ::SetEnvironmentVariableA(name.c_str(), value.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    const BOOL started = ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, &startup, &m_process);
    for (const auto& entry : environment)
        ::SetEnvironmentVariableA(entry.first.c_str(), nullptr);
    return started != FALSE;
}

namespace {

struct Collection {
    DWORD processId;
    std::vector<std::string> captions;
};

BOOL CALLBACK CollectCaption(HWND window, LPARAM parameter)
{
    auto* collection = reinterpret_cast<Collection*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char caption[256] = {};
    if (owner == collection->processId && ::IsWindowVisible(window) && ::GetWindowTextA(window, caption, sizeof caption) > 0)
        collection->captions.emplace_back(caption);
    return TRUE;
}

}  // namespace

void AppDriver::WatchWindows()
{
    m_watching = true;
    m_watcher = std::thread([this] {
        while (m_watching && IsRunning()) {
            Collection collection{m_process.dwProcessId, {}};
            ::EnumWindows(&CollectCaption, reinterpret_cast<LPARAM>(&collection));
            {
                const std::lock_guard<std::mutex> guard(m_seenLock);
                m_seen.insert(collection.captions.begin(), collection.captions.end());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
}

std::set<std::string> AppDriver::CaptionsSeen() const
{
    const std::lock_guard<std::mutex> guard(m_seenLock);
    return m_seen;
}

bool AppDriver::Attach(HWND window)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    m_process.hProcess = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    m_process.dwProcessId = processId;
    return m_process.hProcess != nullptr;
}

int AppDriver::RunToEnd(const std::string& commandLine, const std::string& outputFile)
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE output = ::CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return -1;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    const BOOL started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(output);
    if (!started)
        return -1;
    const auto patience = std::chrono::duration_cast<std::chrono::milliseconds>(kPatience).count();
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.hProcess, static_cast<DWORD>(patience)) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.hProcess, &code);
    else
        ::TerminateProcess(process.hProcess, 99);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return static_cast<int>(code);
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

HWND AppDriver::FindWindowOfProcess(const std::string& caption, bool byClass) const
{
    Search search{m_process.dwProcessId, &caption, nullptr, byClass};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND AppDriver::FindDialogOfAnyProcess(const std::string& caption)
{
    Search search{0, &caption, nullptr};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND AppDriver::WaitForWindow(const std::string& caption) const
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowOfProcess(caption)) != nullptr || !IsRunning(); });
    return found;
}

bool AppDriver::WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds patience)
{
    return WaitFor(condition, patience);
}

bool AppDriver::WaitUntilGone(const std::string& caption) const
{
    return WaitFor([&] { return FindWindowOfProcess(caption) == nullptr; });
}

std::string AppDriver::AnswerMessageBox(int button) const
{
    const HWND box = WaitForWindow(kMessageBoxCaption);
    if (box == nullptr)
        return "(no message box)";
    const std::string text = ControlText(box, kMessageBoxText);
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    WaitFor([&] { return !::IsWindow(box); });
    return text;
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
