#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
#include <sys/resource.h>
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

TEST_F(UpgradeInfoFileTest, APathAsLongAsThePlatformAllowsIsWritten)
{
    ModuleBench bench({Analyzer("KVX7L1A", "65536", "100")});
    ASSERT_EQ(bench.ReadModule(0), ModuleCode::Success);
#if defined(_WIN32)
    // The ANSI file functions take paths of up to 259 characters.
    const std::string start = folder.File("");
    const std::string path = start + std::string(259 - start.size() - 4, 'r') + ".txt";
#else
    // A file name may have up to 255 bytes.
    const std::string path = folder.File(std::string(251, 'r') + ".txt");
#endif
    EXPECT_EQ(Writer(bench).SaveUpgradeInfo(bench.module(), "", path), 0u);
    EXPECT_TRUE(bench.sink.messages.empty()) << bench.sink.messages.front();
    EXPECT_EQ(folder.Entries().size(), 1u);
}

}  // namespace
}  // namespace stratigon::test
