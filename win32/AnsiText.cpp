#include "win32/AnsiText.h"

#include <new>
#include <vector>

namespace stratigon::win32 {

namespace {

// Empty when some character has no equivalent in the ANSI code page.
std::string ExactAnsi(const wchar_t* text)
{
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::vector<char> ansi(static_cast<std::size_t>(size));
    BOOL lossy = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, ansi.data(), size, nullptr, &lossy);
    return lossy ? std::string() : std::string(ansi.data());
}

}  // namespace

std::string AnsiFromBstr(BSTR text)
{
    const int length = static_cast<int>(::SysStringLen(text));
    if (length == 0)
        return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring WideFromAnsi(const std::string& text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), size);
    return result;
}

UniqueBstr BstrFromAnsi(const std::string& text)
{
    const std::wstring wide = WideFromAnsi(text);
    UniqueBstr result(::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
    if (!result)
        throw std::bad_alloc();
    return result;
}

std::string AnsiPath(const std::wstring& path)
{
    if (std::string exact = ExactAnsi(path.c_str()); !exact.empty() || path.empty())
        return exact;
    const DWORD size = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring shortPath(size, L'\0');
    const DWORD length = ::GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size)
        return {};
    shortPath.resize(length);
    return ExactAnsi(shortPath.c_str());
}

}  // namespace stratigon::win32
