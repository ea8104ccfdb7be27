#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/CSortedList.h"
#include "catalogue/ModuleBench.h"
#include "catalogue/PossibleUpgrades.h"
#include "module/ModuleCodes.h"
#include "report/ApplicationVersion.h"
#include "report/CUpgradeInfoFile.h"
#include "support/ReportDoubles.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace stratigon::test {
namespace {

using ::testing::HasSubstr;

const std::string kWriteError = "Error when writting to file: ";

// Where a byte comparison first goes wrong, and the text around it on both sides.
std::string FirstDifference(const std::string& expected, const std::string& actual)
{
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        ++i;
    const std::size_t from = i < 20 ? 0 : i - 20;
    return "first difference at byte " + std::to_string(i) + "\nexpected: ..." + ::testing::PrintToString(expected.substr(from, 50)) +
           "\nactual:   ..." + ::testing::PrintToString(actual.substr(from, 50));
}

class UpgradeInfoFileTest : public ::testing::Test {
protected:
    CUpgradeInfoFile Writer(ModuleBench& bench) { return CUpgradeInfoFile(bench.sink, versions, date, folders); }

    TempFolder folder;
    ListedVersions versions;
    FixedDate date{2024, 3, 4};
    FixedFolders folders;
};

TEST_F(UpgradeInfoFileTest, ReportsMatchTheirGoldenFilesByteForByte)
{
    struct Case {
        const char* golden;
        BenchModule module;
        const char* selection;
        FixedDate date;
        std::map<std::string, std::optional<std::string>> versions;
    };
    const Case cases[] = {
        {"analyzer_selected.txt", Analyzer("KVX7L1A", "65536", "100"), "kvx7l1aup option 05", {2024, 3, 4},
         {{ApplicationCandidates(false)[0], "05.10.002"}}},
        {"pattern_generator.txt", PatternGenerator("STD"), "", {1999, 12, 31},
         {{ApplicationCandidates(true)[1], "3.1.0"}, {ApplicationCandidates(false)[0], "05.10.002"}}},
        {"no_possible_upgrade.txt", Analyzer("KVX7R1A", "4194304", "200"), "KVX7R1AUP", {2031, 7, 15}, {}},
    };
    for (const Case& c : cases) {
        ModuleBench bench({c.module});
        ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success) << c.golden;
        date = c.date;
        versions.files = c.versions;
        const std::string path = folder.File(c.golden);
        EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), c.selection, path), 0u) << c.golden;
        const std::string expected = ReadBytes(std::string(STRATIGON_GOLDEN_DIR) + "/" + c.golden);
        const std::string actual = ReadBytes(path);
        EXPECT_TRUE(!expected.empty() && actual == expected) << c.golden << ": " << FirstDifference(expected, actual);
        EXPECT_TRUE(bench.sink.messages.empty()) << c.golden;
    }
}

// The list holds Option 01, 04 and 05; the search starts at the second line and wraps.
TEST_F(UpgradeInfoFileTest, SelectionTextPicksTheFirstLineBeginningWithItFromTheSecondLineOn)
{
    const std::pair<const char*, const char*> cases[] = {
        {"KVX7L1AUP Option 05", "KVX7L1AUP Option 05\t256K\t\t200 MHz"},
        {"kvx7l1aup option 01", "KVX7L1AUP Option 01\t256K\t\t100 MHz"},
        {"KVX7L1AUP Option 0", "KVX7L1AUP Option 04\t64K\t\t200 MHz"},
        {"KVX7L1AUP Option 05\t256K\t200 MHz", "KVX7L1AUP Option 05\t256K\t\t200 MHz"},
        {"KVX7L1AUP-Opt-05", nullptr},
        {"Option 05", nullptr},
        {"", nullptr},
    };
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    for (const auto& [selection, selected] : cases) {
        const std::string path = folder.File("selection.txt");
        ASSERT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), selection, path), 0u) << selection;
        const std::string text = ReadBytes(path);
        const std::string block = text.substr(text.find("Upgrade option Selected:"), text.find("Upgrades Possible:") - text.find("Upgrade option Selected:"));
        const std::string expected = selected ? std::string("State Speed\r\n\t") + selected + "\r\n" : "- No Upgrade Selected -\r\n";
        EXPECT_THAT(block, HasSubstr(expected)) << "selection '" << selection << "'";
    }
}

TEST_F(UpgradeInfoFileTest, ProductWithoutTableIsRefusedToAClientButTheDialogGetsAReportWithoutUpgrades)
{
    ModuleBench bench({Analyzer("KVX7L9Z", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), "", folder.File("client.txt")), 0x800403F7u);
    EXPECT_TRUE(folder.Entries().empty());
    EXPECT_EQ(bench.sink.messages, std::vector<std::string>{"Error: No option table defined for this product: KVX7L9Z"});
    CSortedList list;
    EXPECT_EQ(ListPossibleUpgrades(bench.module(), list, bench.sink), 0);
    EXPECT_TRUE(Writer(bench).WriteUpgradeInfoFile(bench.module(), list, folder.File("dialog.txt")));
    EXPECT_THAT(ReadBytes(folder.File("dialog.txt")), ::testing::EndsWith("- No Upgrade Selected -\r\n\r\n\r\nUpgrades Possible:"
                                                                          "\r\n\r\n\t- No Possible Upgrades -\r\n"));
}

TEST_F(UpgradeInfoFileTest, AnExistingFileIsReplacedWithoutQuestion)
{
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    const std::string path = folder.File("KVXUpgradeInfo.txt");
    WriteBytes(path, std::string(5000, 'x'));
    EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), "", path), 0u);
    EXPECT_THAT(ReadBytes(path), ::testing::AllOf(::testing::StartsWith("#####"), ::testing::Not(HasSubstr("x"))));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"KVXUpgradeInfo.txt"});
}

// Mend: the report goes to the user's Documents folder where "C:\My Documents" is gone.
TEST_F(UpgradeInfoFileTest, EmptyPathWritesTheDefaultFileIntoTheDocumentsFolder)
{
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    folders.documents = folder.Path().string();
    EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), "", ""), 0u);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"KVXUpgradeInfo.txt"});
}

// Mend: a write that cannot happen is reported to the client, after the user's messages.
TEST_F(UpgradeInfoFileTest, AFileThatCannotBeWrittenIsShownAndReportedAsUnsuccessful)
{
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    // A target that is a folder: the temporary file, made beside it, cannot replace it.
    std::filesystem::create_directory(folder.Path() / "KVXUpgradeInfo.txt");
    for (const std::string& path : {folder.File("no such folder") + "/KVXUpgradeInfo.txt", folder.File("KVXUpgradeInfo.txt")}) {
        bench.sink.messages.clear();
        EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), "", path), 0x800403EAu) << path;
        ASSERT_EQ(bench.sink.messages.size(), 2u) << path;
        EXPECT_EQ(bench.sink.messages[0], kWriteError + path);
        EXPECT_FALSE(bench.sink.messages[1].empty()) << "the system's description of the failure";
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"KVXUpgradeInfo.txt"}) << "no temporary file may be left behind";
}

// Mend: a failure in the middle of writing leaves the earlier report as it was.
TEST_F(UpgradeInfoFileTest, AWriteThatFailsHalfwayKeepsTheEarlierFileWhole)
{
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    const std::string path = folder.File("KVXUpgradeInfo.txt");
    const std::string earlier = "the report written last week\r\n";
    WriteBytes(path, earlier);
#if defined(_WIN32)
    // Another program holding the file open without sharing makes the replacement fail.
    const HANDLE holder = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
#else
    // A file size limit stops the write part of the way through, as a full disk does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 300;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
#endif
    const std::uint32_t result = Writer(bench).SaveUpgradeInfo(bench.module(), "", path);
#if defined(_WIN32)
    ::CloseHandle(holder);
#else
    setrlimit(RLIMIT_FSIZE, &previous);
#endif
    EXPECT_EQ(result, 0x800403EAu);
    EXPECT_EQ(ReadBytes(path), earlier);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"KVXUpgradeInfo.txt"}) << "no temporary file may be left behind";
    ASSERT_FALSE(bench.sink.messages.empty());
    EXPECT_EQ(bench.sink.messages[0], kWriteError + path);
}

// Names are texts in the ANSI code page: every byte from 0x80 up is a character of its own, as
// in "Ko\x9Aice" (Windows-1252), and the report must land under exactly that name.
TEST_F(UpgradeInfoFileTest, ReportsAreWrittenUnderNamesWithAnyCharacterAboveAscii)
{
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    for (int first = 0x80; first <= 0xFF; first += 16) {
        std::string name = "Ko";
        for (int byte = first; byte < first + 16; ++byte)
            name += static_cast<char>(byte);
        // Its own number too: names that differ only in letter case are one file on Windows.
        name += "ice report " + std::to_string(first) + ".txt";
        const std::string path = folder.File("") + name;
        EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), "", path), 0u) << std::hex << first;
        EXPECT_NE(ReadBytes(path).find("Serial Number:\t\t\tB012345"), std::string::npos) << std::hex << first;
    }
    EXPECT_TRUE(bench.sink.messages.empty()) << bench.sink.messages.front();
    EXPECT_EQ(folder.Entries().size(), 8u) << "one report for each name and nothing else";
}

#if defined(_WIN32)
// The ANSI file functions take paths of up to 259 characters (on Windows; Wine takes longer
// ones, so there only the native run of this test sees a path pass the limit).
constexpr std::size_t kLongestPath = 259;
#else
// A path may have up to 4095 bytes, each of its names up to 255.
constexpr std::size_t kLongestPath = 4095;
#endif
constexpr std::size_t kLongestName = 255;

// A folder inside `base` whose path has exactly `length` characters, made of as many nested
// folders as the platform's name limit asks for.
std::string FolderOfLength(const std::filesystem::path& base, std::size_t length)
{
    const std::string separator(1, std::filesystem::path::preferred_separator);
    std::string path = base.string();
    while (length - path.size() > kLongestName + 1)
        path += separator + std::string(200, 'd');
    path += separator + std::string(length - path.size() - separator.size(), 'd');
    std::filesystem::create_directories(path);
    return path;
}

// A long file name gets a temporary name cut short; a short one in a deep folder gets one no
// longer than itself, or the temporary path would pass the limit the report's path keeps to.
TEST_F(UpgradeInfoFileTest, APathAsLongAsThePlatformAllowsIsWritten)
{
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    const std::string start = folder.File("");
    const std::string longName = std::string(std::min(kLongestPath - start.size(), kLongestName) - 4, 'r') + ".txt";
    const std::string shortName = "KVXInfo.txt";
    const std::string paths[] = {
        start + longName,
        (std::filesystem::path(FolderOfLength(folder.Path(), kLongestPath - shortName.size() - 1)) / shortName).string(),
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path.substr(path.find_last_of("/\\") + 1));
        ASSERT_LE(path.size(), kLongestPath);
        EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), "", path), 0u);
        EXPECT_TRUE(bench.sink.messages.empty()) << bench.sink.messages.front();
        EXPECT_NE(ReadBytes(path).find("Serial Number:\t\t\tB012345"), std::string::npos);
        bench.sink.messages.clear();
    }
}

#if !defined(_WIN32)
// The names that appear in each of a few folders while something runs, as the kernel reports
// them: made there or moved there.
class FolderWatch {
public:
    explicit FolderWatch(const std::vector<std::string>& folders) : m_fd(inotify_init1(IN_NONBLOCK))
    {
        for (const std::string& folder : folders)
            m_watches.push_back(inotify_add_watch(m_fd, folder.c_str(), IN_CREATE | IN_MOVED_TO));
    }
    ~FolderWatch() { close(m_fd); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // For each folder in the order given, what appeared there since the watch began.
    std::vector<std::vector<std::string>> Appeared() const
    {
        std::vector<std::vector<std::string>> names(m_watches.size());
        alignas(inotify_event) char buffer[16384];
        for (ssize_t length; (length = read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                const auto folder = std::find(m_watches.begin(), m_watches.end(), event->wd);
                if (folder != m_watches.end() && event->len > 0)
                    names[static_cast<std::size_t>(folder - m_watches.begin())].push_back(event->name);
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int m_fd;
    std::vector<int> m_watches;
};

// The temporary file goes beside the report: a folder's parent may be read-only, on another
// file system, or somewhere a crash should leave no stray file.
TEST_F(UpgradeInfoFileTest, TheTemporaryFileIsMadeInTheReportsOwnFolder)
{
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    const std::string reports = folder.File("reports");
    std::filesystem::create_directory(reports);
    const FolderWatch watch({folder.File(""), reports});
    EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), "", reports + "/KVXUpgradeInfo.txt"), 0u);
    const auto appeared = watch.Appeared();
    EXPECT_EQ(appeared[0], std::vector<std::string>{}) << "nothing in the parent folder";
    ASSERT_EQ(appeared[1].size(), 2u) << "a temporary file, then the report moved over it";
    EXPECT_NE(appeared[1][0], "KVXUpgradeInfo.txt");
    EXPECT_EQ(appeared[1][1], "KVXUpgradeInfo.txt");
}
#endif

// A folder on a file system of its own, whose parent is on another: the shared-memory folder,
// where the system has one.
TEST_F(UpgradeInfoFileTest, AReportGoesIntoAFolderWhoseParentIsAnotherFileSystem)
{
#if defined(_WIN32)
    const std::string shared = "Z:\\dev\\shm";
    if (!std::filesystem::is_directory(shared))
        GTEST_SKIP() << "no Unix shared-memory folder under this Windows";
#else
    const std::string shared = "/dev/shm";
    struct stat own {}, parent {};
    if (stat(shared.c_str(), &own) != 0 || stat("/dev", &parent) != 0 || own.st_dev == parent.st_dev)
        GTEST_SKIP() << shared << " is not a file system of its own here";
#endif
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
    const std::string path = (std::filesystem::path(shared) / folder.Path().filename()).string() + ".txt";
    EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), "", path), 0u);
    EXPECT_TRUE(bench.sink.messages.empty()) << bench.sink.messages.front();
    EXPECT_NE(ReadBytes(path).find("Serial Number:\t\t\tB012345"), std::string::npos);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace stratigon::test
