#include "report/PortableFolderLookup.h"

#include <cstdlib>
#include <filesystem>

namespace stratigon {

bool PortableFolderLookup::FolderExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::string PortableFolderLookup::DocumentsFolder()
{
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0')
        home = std::getenv("USERPROFILE");
    if (home == nullptr || *home == '\0')
        return {};
    const std::string documents = (std::filesystem::path(home) / "Documents").string();
    return FolderExists(documents) ? documents : std::string(home);
}

}  // namespace stratigon
