// Where the report goes when nobody names a file: "C:\My Documents" where that folder
// still exists, otherwise the user's Documents folder, which replaced it long ago.
#pragma once

#include <string>

#include "report/IFolderLookup.h"

namespace stratigon {

inline constexpr char kLegacyReportFolder[] = "C:\\My Documents";
inline constexpr char kReportFileName[] = "KVXUpgradeInfo.txt";

std::string DefaultReportPath(IFolderLookup& folders);

}  // namespace stratigon
