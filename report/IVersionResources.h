// Reads the version information that Windows executables carry. The application's lookup
// uses the system's version resources; elsewhere there are none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace stratigon {

class IVersionResources {
public:
    virtual ~IVersionResources() = default;
    // The size of the file's version information; 0 when it has none or does not exist.
    virtual std::uint32_t VersionInfoSize(const std::string& path) = 0;
    // The value that `subBlock` names in the file's version information, if the query succeeds.
    virtual std::optional<std::string> QueryValue(const std::string& path, const std::string& subBlock) = 0;
};

}  // namespace stratigon
