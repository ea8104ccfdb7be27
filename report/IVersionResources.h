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
    // Whether the file's version information can be read whole: the read can fail after the
    // size query succeeded, which is not the same as a value missing from it.
    virtual bool CanReadVersionInfo(const std::string& path) = 0;
    // The value that `subBlock` names in the file's version information, if the query succeeds.
    virtual std::optional<std::string> QueryValue(const std::string& path, const std::string& subBlock) = 0;
};

}  // namespace stratigon
