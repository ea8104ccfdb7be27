// A folder of its own for one test, under the system temp folder, removed with everything in
// it when the test ends; state and trace files never land anywhere a user keeps files.
#pragma once

#include <filesystem>
#include <string>

namespace stratigon::sim::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A path inside the folder, as text for the simulator's options.
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    void Write(const std::string& name, const std::string& text) const;
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

}  // namespace stratigon::sim::test
