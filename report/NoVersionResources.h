// The version lookup where executables carry no version resources (Linux): every file has
// none, so the instrument application's version reads "Unknown".
#pragma once

#include "report/IVersionResources.h"

namespace stratigon {

class NoVersionResources final : public IVersionResources {
public:
    std::uint32_t VersionInfoSize(const std::string&) override { return 0; }
    bool CanReadVersionInfo(const std::string&) override { return false; }
    std::optional<std::string> QueryValue(const std::string&, const std::string&) override { return std::nullopt; }
};

}  // namespace stratigon
