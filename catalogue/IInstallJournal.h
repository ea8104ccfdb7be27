// Where installation attempts are recorded: the program's install journal, or a test's list.
// The installation never waits on it beyond the append and never fails because of it.
#pragma once

#include <string>

#include "catalogue/InstallRecord.h"

namespace stratigon {

class IInstallJournal {
public:
    virtual ~IInstallJournal() = default;
    // Appends the record as one whole line, on disk before it returns. False with the reason
    // in `problem` when it could not.
    virtual bool Append(const InstallRecord& record, std::string& problem) = 0;
};

}  // namespace stratigon
