// The install journal as stratigon-cli journal prints it: the records chosen by serial number
// and date, each attempt that never ended marked, for a person or as JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "catalogue/InstallRecord.h"

namespace stratigon::cli {

struct JournalEntry {
    InstallRecord record;
    bool unfinished = false;  // a "started" whose attempt never ended
};

// The records of the module with serial number `serial` (any letter case) made at or after
// `since` (a date or a time as the journal writes them), in journal order.
std::vector<JournalEntry> SelectJournalEntries(const std::vector<InstallRecord>& records,
                                               const std::optional<std::string>& serial,
                                               const std::optional<std::string>& since);

std::string ToText(const std::vector<JournalEntry>& entries);
nlohmann::ordered_json ToJson(const std::vector<JournalEntry>& entries);

}  // namespace stratigon::cli
