#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "win32/ProgramPath.h"
#include "win32/UniqueHandle.h"

namespace stratigon::test {
namespace {

// Windows cuts a module's path off at the buffer it is given; Wine starts no program from a
// folder deeper than MAX_PATH, but it loads a library from one, which asks the same question.
TEST(ProgramPath, NamesAModuleDeeperThanMaxPathInFull)
{
    const TempFolder folder;
    const std::wstring prefix = L"\\\\?\\";
    std::vector<std::wstring> folders;
    std::wstring deep = prefix + folder.Path().wstring();
    while (deep.size() < MAX_PATH + 60) {
        deep += L"\\a folder of the deep test, thirty-nine";
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr)) << ::GetLastError();
        folders.push_back(deep);
    }
    // The simulated bench is a library that lies beside every test program.
    const std::wstring library = deep + L"\\visa32.dll";
    ASSERT_TRUE(::CopyFileW((win32::ProgramFolder() + L"\\visa32.dll").c_str(), library.c_str(), FALSE))
        << ::GetLastError();
    {
        const win32::UniqueModule loaded(::LoadLibraryW(library.c_str()));
        ASSERT_TRUE(loaded) << ::GetLastError();
        const std::wstring found = win32::ModulePath(loaded.get());
        EXPECT_EQ(found.substr(found.rfind(prefix, 0) == 0 ? prefix.size() : 0), library.substr(prefix.size()));
    }
    ::DeleteFileW(library.c_str());
    for (auto level = folders.rbegin(); level != folders.rend(); ++level)
        ::RemoveDirectoryW(level->c_str());
}

TEST(ProgramPath, TheFolderIsThePathUpToItsLastSeparator)
{
    const std::wstring path = win32::ProgramPath();
    const std::wstring folder = win32::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(path.substr(0, folder.size() + 1), folder + L"\\");
    EXPECT_EQ(path.find(L'\\', folder.size() + 1), std::wstring::npos);
    EXPECT_EQ(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << "the program itself";
}

}  // namespace
}  // namespace stratigon::test
