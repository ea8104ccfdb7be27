// The version resources of Windows executables, read with the system's version functions:
// how the report finds the version of the instrument application installed on this PC.
#pragma once

#include <vector>

#include "report/IVersionResources.h"

namespace stratigon::win32 {

class CWin32VersionResources final : public IVersionResources {
public:
    std::uint32_t VersionInfoSize(const std::string& path) override;
    bool CanReadVersionInfo(const std::string& path) override;
    std::optional<std::string> QueryValue(const std::string& path, const std::string& subBlock) override;

private:
    // The whole version information block; empty when there is none or it cannot be read.
    std::vector<char> ReadBlock(const std::string& path);
};

}  // namespace stratigon::win32
