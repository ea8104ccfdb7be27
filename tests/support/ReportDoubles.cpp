#include "support/ReportDoubles.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace stratigon::test {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace stratigon::test
