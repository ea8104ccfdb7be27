#include "cli/PlatformLookups.h"

#if defined(_WIN32)
#include "win32/CWin32FolderLookup.h"
#include "win32/CWin32VersionResources.h"
#else
#include "report/NoVersionResources.h"
#include "report/PortableFolderLookup.h"
#endif

namespace stratigon::cli {

PlatformLookups MakePlatformLookups()
{
#if defined(_WIN32)
    return {std::make_unique<win32::CWin32VersionResources>(), std::make_unique<win32::CWin32FolderLookup>()};
#else
    return {std::make_unique<NoVersionResources>(), std::make_unique<PortableFolderLookup>()};
#endif
}

}  // namespace stratigon::cli
