#include "win32/ProgramPath.h"

namespace stratigon::win32 {

namespace {

// The longest path Windows can hand out, \\?\ form included.
constexpr DWORD kLongestPath = 32768;

}  // namespace

std::wstring ModulePath(HMODULE module)
{
    // GetModuleFileName fills a buffer that is too small to the brim and says nothing more
    // (older Windows) or sets ERROR_INSUFFICIENT_BUFFER: a full buffer means "try larger".
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameW(module, path.data(), size);
        if (length == 0)
            return {};
        if (length < size) {
            path.resize(length);
            return path;
        }
        if (size >= kLongestPath)
            return {};
        path.resize(size * 2 < kLongestPath ? size * 2 : kLongestPath);
    }
}

std::wstring ProgramFolder()
{
    const std::wstring path = ProgramPath();
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

}  // namespace stratigon::win32
