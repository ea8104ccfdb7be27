// A folder of its own for one test, under the system temp folder, removed with everything in
// it when the test ends: reports, benches, state and trace files never land where users keep
// files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace stratigon::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // A path inside the folder, as text.
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    void Write(const std::string& name, const std::string& text) const;
    std::string Read(const std::string& name) const;
    // Names of everything in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path m_path;
};

}  // namespace stratigon::test
