// The columns of the install journal, in file order, and the record field each one holds: the
// one place that says how a record becomes a line and a line a record again.
#pragma once

#include <string>
#include <vector>

#include "catalogue/InstallRecord.h"

namespace stratigon {

const std::vector<std::string>& JournalColumnNames();
std::vector<std::string> JournalFields(const InstallRecord& record);
// `fields` holds one value per column.
InstallRecord JournalRecord(const std::vector<std::string>& fields);

}  // namespace stratigon
