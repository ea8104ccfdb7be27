// One module as the tool prints it: where it sits, how its readout ended and what the record
// held afterwards, as JSON, as labelled lines or as a row of a table.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "module/ModuleReading.h"

namespace stratigon::cli {

// The status as the program would show it; success has no text of its own there.
std::string StatusText(int status);

nlohmann::ordered_json ToJson(const ModuleReading& reading);
// One "Label: value" line per field.
std::string ToText(const ModuleReading& reading);
// A table with one row per module and a heading.
std::string ToTable(const std::vector<ModuleReading>& readings);

}  // namespace stratigon::cli
