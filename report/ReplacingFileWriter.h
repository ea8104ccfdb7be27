// Writes a whole file or nothing: the bytes go to a temporary file beside the target, which
// replaces the target only when every byte is on disk. A failure keeps any earlier file.
#pragma once

#include <string>
#include <string_view>

namespace stratigon {

class ReplacingFileWriter {
public:
    // False with the system's description of the failure in `errorText`.
    static bool Write(const std::string& path, std::string_view bytes, std::string& errorText);

private:
    static std::string TemporaryPathFor(const std::string& path);
};

}  // namespace stratigon
