// Reading the install journal back: its whole records in file order, a warning for each line
// that is not whole (the power went while it was written), and the attempts that never ended.
#pragma once

#include <string>
#include <vector>

#include "catalogue/InstallRecord.h"

namespace stratigon {

struct JournalContents {
    std::vector<InstallRecord> records;
    // One per line skipped; the lines before and after it are read all the same.
    std::vector<std::string> warnings;
};

// A journal that does not exist yet has no records and no warnings.
JournalContents ReadInstallJournal(const std::string& path);

struct UnfinishedAttempt {
    InstallRecord started;
    bool reported = false;  // a later start of the program has noted it ("interrupted")
};

// The attempts that started and never ended, in journal order.
std::vector<UnfinishedAttempt> UnfinishedAttempts(const std::vector<InstallRecord>& records);

}  // namespace stratigon
