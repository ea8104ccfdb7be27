// Stand-ins for the report's outside world: a fixed date, version resources listed by path,
// a folder lookup that answers as told, and a temporary folder removed with its contents.
#pragma once

#include "support/TempFolder.h"

#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "report/IFolderLookup.h"
#include "report/ILocalDate.h"
#include "report/IVersionResources.h"

namespace stratigon::test {

class FixedDate final : public ILocalDate {
public:
    FixedDate(int year, int month, int day) : m_available(true)
    {
        m_date.tm_year = year - 1900;
        m_date.tm_mon = month - 1;
        m_date.tm_mday = day;
        m_date.tm_hour = 12;
    }
    static FixedDate Unavailable() { return FixedDate(); }
    bool Today(std::tm& date) override
    {
        date = m_date;
        return m_available;
    }

private:
    FixedDate() = default;
    std::tm m_date{};
    bool m_available = false;
};

// A file listed here has version information; its value is its ProductVersion, if any. An
// unreadable one has a size but cannot be read.
class ListedVersions final : public IVersionResources {
public:
    std::uint32_t VersionInfoSize(const std::string& path) override
    {
        asked.push_back(path);
        return files.count(path) != 0 ? 1024u : 0u;
    }
    bool CanReadVersionInfo(const std::string& path) override
    {
        return files.count(path) != 0 && unreadable.count(path) == 0;
    }
    std::optional<std::string> QueryValue(const std::string& path, const std::string& subBlock) override
    {
        queried.push_back(path + "|" + subBlock);
        const auto found = files.find(path);
        return found == files.end() || unreadable.count(path) != 0 ? std::nullopt : found->second;
    }
    std::map<std::string, std::optional<std::string>> files;
    std::set<std::string> unreadable;
    std::vector<std::string> asked, queried;
};

class FixedFolders final : public IFolderLookup {
public:
    bool FolderExists(const std::string& path) override { return path == existingFolder; }
    std::string DocumentsFolder() override { return documents; }
    std::string existingFolder;
    std::string documents;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace stratigon::test
