#include "win32/CWin32FolderLookup.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "win32/AnsiText.h"
#include "win32/UniqueHandle.h"

namespace stratigon::win32 {

bool CWin32FolderLookup::FolderExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string CWin32FolderLookup::DocumentsFolder()
{
    UniqueTaskMemory<wchar_t> path;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, path.put())) || !path)
        return {};
    return AnsiPath(path.get());
}

}  // namespace stratigon::win32
