#include "win32/CWin32VersionResources.h"

#include <windows.h>

#include <vector>

namespace stratigon::win32 {

std::uint32_t CWin32VersionResources::VersionInfoSize(const std::string& path)
{
    DWORD ignored = 0;
    return ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
}

std::optional<std::string> CWin32VersionResources::QueryValue(const std::string& path, const std::string& subBlock)
{
    const DWORD size = VersionInfoSize(path);
    if (size == 0)
        return std::nullopt;
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), subBlock.c_str(), &value, &length) || value == nullptr)
        return std::nullopt;
    return std::string(static_cast<const char*>(value));
}

}  // namespace stratigon::win32
