// Whether a file the tool is told to write was protected by its owner: the tool does not
// replace such a file behind the person's back, whatever rights the one who runs it has.
#pragma once

#include <string>

namespace stratigon::cli {

// True for an existing file that nobody may write (read-only on Windows), or that the user
// running the tool may not write.
bool IsReadOnlyFile(const std::string& path);

}  // namespace stratigon::cli
