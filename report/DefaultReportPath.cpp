#include "report/DefaultReportPath.h"

namespace stratigon {

namespace {

// Joins in the folder's own style, so a Windows folder gets a backslash on every platform.
std::string InFolder(const std::string& folder, const char* fileName)
{
    if (folder.back() == '\\' || folder.back() == '/')
        return folder + fileName;
    const char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
    return folder + separator + fileName;
}

}  // namespace

std::string DefaultReportPath(IFolderLookup& folders)
{
    if (folders.FolderExists(kLegacyReportFolder))
        return InFolder(kLegacyReportFolder, kReportFileName);
    const std::string documents = folders.DocumentsFolder();
    // Without a Documents folder the old place is still the best guess; writing there fails
    // with a message rather than putting the file somewhere unexpected.
    return InFolder(documents.empty() ? std::string(kLegacyReportFolder) : documents, kReportFileName);
}

}  // namespace stratigon
