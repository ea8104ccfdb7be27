// At the start of the program: the installations that started and never ended (the power
// went, the program was killed) are named to the person, once, so that they check the modules.
#pragma once

#include <string>

#include "report/CInstallJournalFile.h"

namespace stratigon {

// The text that names every attempt of the journal not yet reported, or an empty text; each
// is then noted in the journal as "interrupted", so that the next start does not name it again.
std::string ReportUnfinishedInstallations(CInstallJournalFile& journal);

// How the journal and the tool name the module and kit of an attempt.
std::string DescribeAttempt(const InstallRecord& started);

}  // namespace stratigon
