#include "cli/PlatformLookups.h"

#if defined(_WIN32)
#include "app/CWin32FolderLookup.h"
#include "app/CWin32VersionResources.h"
#else
#include "report/NoVersionResources.h"
#include "report/PortableFolderLookup.h"
#endif

namespace stratigon::cli {

PlatformLookups MakePlatformLookups()
{
#if defined(_WIN32)
    return {std::make_unique<CWin32VersionResources>(), std::make_unique<CWin32FolderLookup>()};
#else
    return {std::make_unique<NoVersionResources>(), std::make_unique<PortableFolderLookup>()};
#endif
}

}  // namespace stratigon::cli
