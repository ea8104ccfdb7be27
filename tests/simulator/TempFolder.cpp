#include "TempFolder.h"

#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace stratigon::sim::test {

TempFolder::TempFolder()
{
    // Tests run as parallel processes; a random name keeps their folders apart.
    std::random_device random;
    std::ostringstream name;
    name << "stratigon-simtest-" << std::hex << random() << random();
    path_ = std::filesystem::temp_directory_path() / name.str();
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::Write(const std::string& name, const std::string& text) const
{
    std::ofstream(path_ / name, std::ios::binary) << text;
}

std::string TempFolder::Read(const std::string& name) const
{
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace stratigon::sim::test
