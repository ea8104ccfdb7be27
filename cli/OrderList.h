// The order list of a rack: every upgrade that fits each module of the bench, one line each, so
// that a purchaser orders from one file; a module without any (not readable, no option table,
// nothing fits) has one line with its reason instead of being left out.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/ModuleReading.h"

namespace stratigon::cli {

struct OrderLine {
    ModuleReading module;
    std::string option;  // the kit option name; empty with a reason
    std::string memoryDepth;
    std::string stateSpeed;
    std::string reason;
};

// Reads every module of the device table in table order.
std::vector<OrderLine> CollectOrderLines(CModule& module);

std::string ToText(const std::vector<OrderLine>& lines);
nlohmann::ordered_json ToJson(const std::vector<OrderLine>& lines);
std::string ToCsv(const std::vector<OrderLine>& lines);

}  // namespace stratigon::cli
