#include "cli/ReadOnlyFile.h"

#include <filesystem>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace stratigon::cli {

bool IsReadOnlyFile(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        return false;
    constexpr fs::perms kAnyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none)
        return true;
#if defined(_WIN32)
    return false;
#else
    return ::access(path.c_str(), W_OK) != 0;
#endif
}

}  // namespace stratigon::cli
