#include "app/CServerRegistration.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

#include "Stratigon.h"
#include "app/CpiApplicationFactory.h"
#include "ui/ApplicationState.h"
#include "win32/AnsiText.h"
#include "win32/ComPtr.h"
#include "win32/ProgramPath.h"
#include "win32/UniqueHandle.h"

namespace stratigon::app {

namespace {

constexpr char kClasses[] = "Software\\Classes\\";
constexpr char kDescription[] = "KVX Stratigon Utility";

struct Switch {
    std::string_view text;
    CServerRegistration::Request request;
};

constexpr Switch kSwitches[] = {
    {"regserver", CServerRegistration::Request::Register},
    {"unregserver", CServerRegistration::Request::Unregister},
};

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string GuidText(REFGUID guid)
{
    wchar_t text[64] = {};
    ::StringFromGUID2(guid, text, 64);
    return std::string(text, text + ::wcslen(text));
}

std::string SystemText(DWORD error)
{
    char text[512] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                     sizeof text, nullptr);
    std::string result(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result.empty() ? "error " + std::to_string(error) : result;
}

std::string KeyFailure(const std::string& key, LONG error)
{
    return "cannot write HKEY_LOCAL_MACHINE\\" + key + ": " + SystemText(static_cast<DWORD>(error));
}

// Sets the default value of a machine-wide key, creating the key. Empty on success. The value
// is written as Windows spells it, so a program path any code page lacks is kept whole.
std::string WriteDefault(const std::string& key, const std::wstring& value)
{
    win32::UniqueKey handle;
    LONG error = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                   handle.put(), nullptr);
    if (error == ERROR_SUCCESS)
        error = ::RegSetValueExW(handle.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    return error == ERROR_SUCCESS ? std::string() : KeyFailure(key, error);
}

std::string DeleteTree(const std::string& key)
{
    const LONG error = ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    if (error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND)
        return {};
    return "cannot remove HKEY_LOCAL_MACHINE\\" + key + ": " + SystemText(static_cast<DWORD>(error));
}

std::string ClassKey() { return std::string(kClasses) + "CLSID\\" + GuidText(CLSID_StratigonApplication); }
std::string ProgIdKey() { return std::string(kClasses) + CpiApplicationFactory::kProgId; }

// Every version of the type library the program has published, the current one first.
constexpr std::pair<WORD, WORD> kLibraryVersions[] = {{1, 1}, {1, 0}};

// A library that was never registered is no failure.
void UnregisterTypeLibraries()
{
    for (const auto& [major, minor] : kLibraryVersions)
        ::UnRegisterTypeLib(LIBID_StratigonLib, major, minor, LOCALE_NEUTRAL, SYS_WIN64);
}

std::string RegisterTypeLibrary(const std::wstring& programPath)
{
    // An older registration would leave its interfaces pointing at an older library.
    UnregisterTypeLibraries();
    win32::ComPtr<ITypeLib> library;
    const HRESULT result = ::LoadTypeLibEx(programPath.c_str(), REGKIND_REGISTER, library.put());
    if (FAILED(result))
        return "cannot register the type library of " + win32::AnsiPath(programPath) + ": " +
               SystemText(static_cast<DWORD>(result));
    return {};
}

void WriteToStandardError(const std::string& text)
{
    HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    // Started from a console without redirection, a windowed program has no standard error.
    win32::UniqueKernelHandle console;
    if ((error == nullptr || error == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        error = ::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (error != INVALID_HANDLE_VALUE)
            console.reset(error);
    }
    if (error == nullptr || error == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

CServerRegistration::Request CServerRegistration::RequestOf(std::string_view commandLine)
{
    const std::string_view argument = Trimmed(commandLine);
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-'))
        return Request::None;
    const std::string_view name = argument.substr(1);
    for (const Switch& entry : kSwitches)
        if (name.size() == entry.text.size() && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.data(),
                                                                 static_cast<int>(name.size()), entry.text.data(),
                                                                 static_cast<int>(entry.text.size())) == CSTR_EQUAL)
            return entry.request;
    return Request::None;
}

std::string CServerRegistration::Register(const std::wstring& programPath)
{
    if (programPath.empty())
        return "cannot tell where this program is";
    const auto wide = [](const std::string& text) { return win32::WideFromAnsi(text); };
    const std::pair<std::string, std::wstring> keys[] = {
        {ProgIdKey(), wide(kDescription)},
        {ProgIdKey() + "\\CLSID", wide(GuidText(CLSID_StratigonApplication))},
        {ClassKey(), wide(kDescription)},
        {ClassKey() + "\\LocalServer32", L"\"" + programPath + L"\""},
        {ClassKey() + "\\ProgID", wide(CpiApplicationFactory::kProgId)},
        {ClassKey() + "\\TypeLib", wide(GuidText(LIBID_StratigonLib))},
    };
    for (const auto& [key, value] : keys)
        if (std::string failure = WriteDefault(key, value); !failure.empty())
            return failure;
    return RegisterTypeLibrary(programPath);
}

std::string CServerRegistration::Unregister()
{
    UnregisterTypeLibraries();
    if (std::string failure = DeleteTree(ClassKey()); !failure.empty())
        return failure;
    return DeleteTree(ProgIdKey());
}

int CServerRegistration::Run(Request request)
{
    const HRESULT initialized = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string failure = request == Request::Register ? Register(win32::ProgramPath()) : Unregister();
    if (SUCCEEDED(initialized))
        ::CoUninitialize();
    if (failure.empty())
        return 0;
    WriteToStandardError(std::string(ui::kApplicationName) + ": " + failure + "\n");
    return 1;
}

}  // namespace stratigon::app
