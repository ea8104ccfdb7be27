// Lines of comma-separated values as RFC 4180 has them, in UTF-8, for the files a spreadsheet
// opens: the install journal and the order list of a rack.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stratigon {

// Every field in quotes, quotes doubled, CR LF at the end; bytes that are no UTF-8 become "?".
// With every field quoted, a line cut off while it was written ends inside quotes or lacks
// fields, so a reader can tell it from a whole one.
std::string CsvLine(const std::vector<std::string>& fields);

// The fields of one line, without its line end; nothing when a quote is never closed.
std::optional<std::vector<std::string>> ParseCsvLine(std::string_view line);

}  // namespace stratigon
