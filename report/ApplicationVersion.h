// The version of the instrument application installed on this PC, as the report states it:
// the analyzer application's, or the pattern generator application's.
#pragma once

#include <span>
#include <string>

#include "report/IVersionResources.h"

namespace stratigon {

inline constexpr char kUnknownVersion[] = "Unknown";
inline constexpr char kProductVersionBlock[] = "\\StringFileInfo\\040904B0\\ProductVersion";

// Where the application may be installed, in the order they are tried.
std::span<const char* const> ApplicationCandidates(bool patternGenerator);

// The product version of the first candidate that has version information; "Unknown" when
// none has, or when that one's product version is missing or empty.
std::string ApplicationVersionText(bool patternGenerator, IVersionResources& resources);

}  // namespace stratigon
