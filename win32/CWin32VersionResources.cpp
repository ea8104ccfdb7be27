#include "win32/CWin32VersionResources.h"

#include <windows.h>

#include <vector>

namespace stratigon::win32 {

std::uint32_t CWin32VersionResources::VersionInfoSize(const std::string& path)
{
    DWORD ignored = 0;
    return ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
}

std::vector<char> CWin32VersionResources::ReadBlock(const std::string& path)
{
    const DWORD size = VersionInfoSize(path);
    std::vector<char> block(size);
    if (size == 0 || !::GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

bool CWin32VersionResources::CanReadVersionInfo(const std::string& path) { return !ReadBlock(path).empty(); }

std::optional<std::string> CWin32VersionResources::QueryValue(const std::string& path, const std::string& subBlock)
{
    std::vector<char> block = ReadBlock(path);
    if (block.empty())
        return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), subBlock.c_str(), &value, &length) || value == nullptr)
        return std::nullopt;
    return std::string(static_cast<const char*>(value));
}

}  // namespace stratigon::win32
