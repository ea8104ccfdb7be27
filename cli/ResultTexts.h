// The one-line reasons the tool gives for a failed operation: the texts automation clients
// get for the same results, so a script sees the program's own words.
#pragma once

#include <cstdint>
#include <string>

namespace stratigon::cli {

std::string ResultText(std::uint32_t automationResult);

}  // namespace stratigon::cli
