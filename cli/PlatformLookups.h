// The version resources and folders of the system the tool runs on: Windows' own where it
// runs on Windows, the portable stand-ins elsewhere (no versions, the home folder).
#pragma once

#include <memory>

#include "report/IFolderLookup.h"
#include "report/IVersionResources.h"

namespace stratigon::cli {

struct PlatformLookups {
    std::unique_ptr<IVersionResources> versions;
    std::unique_ptr<IFolderLookup> folders;
};

PlatformLookups MakePlatformLookups();

}  // namespace stratigon::cli
