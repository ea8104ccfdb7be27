// Picks the VISA library the command-line tool talks to: the one named on the command line,
// else one installed where VISA vendors put theirs, else the simulated bench that ships
// beside the tool.
#pragma once

#include <string>

#include "instrument/CVisaLibrary.h"

namespace stratigon::cli {

// Loads the library; on failure returns false with the reason in `error`. `notice` receives
// a line for standard error when the bundled simulator stands in for a missing library.
bool LoadVisa(CVisaLibrary& library, const std::string& requested, const std::string& benchFile,
              std::string& notice, std::string& error);

}  // namespace stratigon::cli
