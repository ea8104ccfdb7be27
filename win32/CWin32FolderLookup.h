// The folders of this Windows installation: whether a folder exists, and the user's
// Documents known folder in the program's ANSI code page.
#pragma once

#include "report/IFolderLookup.h"

namespace stratigon::win32 {

class CWin32FolderLookup final : public IFolderLookup {
public:
    bool FolderExists(const std::string& path) override;
    std::string DocumentsFolder() override;
};

}  // namespace stratigon::win32
