// The folders the report's default file name depends on: whether a folder exists, and
// where the user's Documents folder is (the system's known folder on Windows).
#pragma once

#include <string>

namespace stratigon {

class IFolderLookup {
public:
    virtual ~IFolderLookup() = default;
    virtual bool FolderExists(const std::string& path) = 0;
    // Empty when the system cannot say.
    virtual std::string DocumentsFolder() = 0;
};

}  // namespace stratigon
