#include <gtest/gtest.h>

#include "report/ApplicationVersion.h"
#include "support/ReportDoubles.h"
#include "win32/CWin32FolderLookup.h"
#include "win32/CWin32VersionResources.h"

namespace stratigon::test {
namespace {

TEST(Win32FolderLookup, FindsTheDocumentsFolderAndTellsFoldersFromFilesAndNothing)
{
    win32::CWin32FolderLookup folders;
    const std::string documents = folders.DocumentsFolder();
    EXPECT_FALSE(documents.empty());
    EXPECT_TRUE(folders.FolderExists(documents)) << documents;
    TempFolder folder;
    WriteBytes(folder.File("file.txt"), "x");
    EXPECT_TRUE(folders.FolderExists(folder.Path().string()));
    EXPECT_FALSE(folders.FolderExists(folder.File("file.txt")));
    EXPECT_FALSE(folders.FolderExists(folder.File("missing")));
}

TEST(Win32VersionResources, ReadsVersionInformationWhereAFileHasSome)
{
    win32::CWin32VersionResources versions;
    EXPECT_GT(versions.VersionInfoSize("C:\\windows\\system32\\kernel32.dll"), 0u);
    EXPECT_TRUE(versions.QueryValue("C:\\windows\\system32\\kernel32.dll", "\\VarFileInfo\\Translation").has_value());
    EXPECT_EQ(versions.VersionInfoSize("C:\\no such folder\\KVX.exe"), 0u);
    EXPECT_EQ(versions.QueryValue("C:\\no such folder\\KVX.exe", kProductVersionBlock), std::nullopt);
    EXPECT_EQ(ApplicationVersionText(false, versions), "Unknown") << "no instrument application is installed here";
}

}  // namespace
}  // namespace stratigon::test
