#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "report/ApplicationVersion.h"
#include "report/DefaultReportPath.h"
#include "report/ReportDate.h"
#include "support/ReportDoubles.h"
#include "report/UpgradeInfoLayout.h"

namespace stratigon::test {
namespace {

using ::testing::HasSubstr;

TEST(ReportLayout, AFileFormLineHasItsLastTabDoubled)
{
    const std::pair<std::string, std::string> cases[] = {
        {"K Option 05\t256K\t200 MHz", "K Option 05\t256K\t\t200 MHz"},
        {"KVX5UP Option 1S\t\t200 MHz", "KVX5UP Option 1S\t\t\t200 MHz"},
        {"no tab at all", "no tab at all"},
        {"", ""},
    };
    for (const auto& [line, fileForm] : cases)
        EXPECT_EQ(FileFormLine(line), fileForm) << "'" << line << "'";
}

// The golden files show the layout with a date; without one the line keeps its tabs and blank.
TEST(ReportLayout, TheDateLineStaysWithoutADate)
{
    EXPECT_THAT(ComposeUpgradeInfo(UpgradeInfo{}), HasSubstr("\r\n#\r\n# \t\t\t \r\n#\r\n###"));
}

TEST(ReportDate, FullMonthNameTwoDigitDayAndYear)
{
    struct Case {
        int year, month, day;
        const char* text;
    };
    const Case cases[] = {
        {2024, 3, 4, "March 04, 2024"},
        {1999, 12, 31, "December 31, 1999"},
        {2031, 7, 15, "July 15, 2031"},
        {2000, 2, 29, "February 29, 2000"},
    };
    for (const Case& c : cases) {
        FixedDate date(c.year, c.month, c.day);
        EXPECT_EQ(ReportDateText(date), c.text);
    }
    FixedDate unavailable = FixedDate::Unavailable();
    EXPECT_EQ(ReportDateText(unavailable), "");
    EXPECT_EQ(FormatReportDate(nullptr), "");
}

TEST(ApplicationVersion, FirstCandidateWithVersionInformationDecides)
{
    const std::string analyzerSystem = ApplicationCandidates(false)[0];
    const std::string analyzerFolder = ApplicationCandidates(false)[1];
    const std::string generatorFolder = ApplicationCandidates(true)[1];
    struct Case {
        const char* what;
        bool patternGenerator;
        std::map<std::string, std::optional<std::string>> files;
        const char* text;
    };
    const Case cases[] = {
        {"nothing installed", false, {}, "Unknown"},
        {"System copy", false, {{analyzerSystem, "05.10.002"}, {analyzerFolder, "04.00.000"}}, "05.10.002"},
        {"install folder only", false, {{analyzerFolder, "04.00.000"}}, "04.00.000"},
        {"System copy without product version: no second try", false,
         {{analyzerSystem, std::nullopt}, {analyzerFolder, "04.00.000"}}, "Unknown"},
        {"empty product version", false, {{analyzerSystem, ""}}, "Unknown"},
        {"pattern generator looks at its own application", true, {{analyzerSystem, "05.10.002"}}, "Unknown"},
        {"pattern generator application", true, {{generatorFolder, "3.1.0"}}, "3.1.0"},
    };
    for (const Case& c : cases) {
        ListedVersions versions;
        versions.files = c.files;
        EXPECT_EQ(ApplicationVersionText(c.patternGenerator, versions), c.text) << c.what;
    }
}

TEST(ApplicationVersion, CandidatesAreFixedPathsSystemSubfolderFirstAndAskForTheUsEnglishProductVersion)
{
    for (const bool generator : {false, true}) {
        const auto candidates = ApplicationCandidates(generator);
        ASSERT_EQ(candidates.size(), 2u);
        EXPECT_THAT(candidates[0], ::testing::StartsWith("C:\\Program Files\\"));
        EXPECT_THAT(candidates[0], HasSubstr("\\System\\"));
        EXPECT_THAT(candidates[1], ::testing::StartsWith("C:\\Program Files\\"));
    }
    ListedVersions versions;
    versions.files = {{ApplicationCandidates(false)[0], "1"}};
    ApplicationVersionText(false, versions);
    EXPECT_EQ(versions.queried, std::vector<std::string>{std::string(ApplicationCandidates(false)[0]) +
                                                         "|\\StringFileInfo\\040904B0\\ProductVersion"});
}

TEST(DefaultReportPath, MyDocumentsWhereItExistsOtherwiseTheUsersDocumentsFolder)
{
    struct Case {
        const char* existing;
        const char* documents;
        const char* path;
    };
    const Case cases[] = {
        {"C:\\My Documents", "C:\\Users\\ann\\Documents", "C:\\My Documents\\KVXUpgradeInfo.txt"},
        {"", "C:\\Users\\ann\\Documents", "C:\\Users\\ann\\Documents\\KVXUpgradeInfo.txt"},
        {"", "D:\\", "D:\\KVXUpgradeInfo.txt"},
        {"", "/home/ann/Documents", "/home/ann/Documents/KVXUpgradeInfo.txt"},
        {"", "", "C:\\My Documents\\KVXUpgradeInfo.txt"},
    };
    for (const Case& c : cases) {
        FixedFolders folders;
        folders.existingFolder = c.existing;
        folders.documents = c.documents;
        EXPECT_EQ(DefaultReportPath(folders), c.path) << "documents '" << c.documents << "'";
    }
}

}  // namespace
}  // namespace stratigon::test
