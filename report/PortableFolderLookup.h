// The folder lookup without Windows: the file system answers whether a folder exists, and
// the Documents folder is the one in the user's home folder, or the home folder itself.
#pragma once

#include "report/IFolderLookup.h"

namespace stratigon {

class PortableFolderLookup final : public IFolderLookup {
public:
    bool FolderExists(const std::string& path) override;
    std::string DocumentsFolder() override;
};

}  // namespace stratigon
