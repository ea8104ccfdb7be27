#include "app/CWin32FolderLookup.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <memory>
#include <vector>

namespace stratigon {

namespace {

struct TaskMemoryFree {
    void operator()(wchar_t* text) const { ::CoTaskMemFree(text); }
};
using KnownFolderPath = std::unique_ptr<wchar_t, TaskMemoryFree>;

// Empty when some character has no equivalent in the ANSI code page.
std::string ToAnsi(const wchar_t* text)
{
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::vector<char> ansi(static_cast<std::size_t>(size));
    BOOL lossy = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, ansi.data(), size, nullptr, &lossy);
    return lossy ? std::string() : std::string(ansi.data());
}

// The 8.3 form of a folder whose long name the ANSI code page cannot spell.
std::string ShortAnsiPath(const wchar_t* path)
{
    const DWORD size = ::GetShortPathNameW(path, nullptr, 0);
    if (size == 0)
        return {};
    std::vector<wchar_t> shortPath(size);
    if (::GetShortPathNameW(path, shortPath.data(), size) == 0)
        return {};
    return ToAnsi(shortPath.data());
}

}  // namespace

bool CWin32FolderLookup::FolderExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string CWin32FolderLookup::DocumentsFolder()
{
    wchar_t* found = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &found);
    const KnownFolderPath path(found);
    if (FAILED(result) || !path)
        return {};
    const std::string ansi = ToAnsi(path.get());
    return ansi.empty() ? ShortAnsiPath(path.get()) : ansi;
}

}  // namespace stratigon
