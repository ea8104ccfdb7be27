// The VISA library that pyvisa is set to use on this machine, for a lab that has told pyvisa
// where its vendor library lives: PYVISA_LIBRARY, else "visa library" in ~/.pyvisarc.
#pragma once

#include <optional>
#include <string>

namespace stratigon::cli {

// Nothing when neither names a library file (pyvisa's own Python backend is none).
std::optional<std::string> PyvisaLibrarySetting();

}  // namespace stratigon::cli
