#include "report/UnfinishedInstallations.h"

#include "catalogue/JournalStamp.h"
#include "report/InstallJournalReader.h"

namespace stratigon {

std::string DescribeAttempt(const InstallRecord& started)
{
    const std::string kit = started.kitOption.empty() ? std::string("an undefined option") : started.kitOption;
    return kit + " on " + started.product + " " + started.serialNumber + " (" + started.uniqueId + ") in " +
           started.frame + ", slot " + started.slot + ", started " + started.time + " through the " + started.frontEnd +
           " by " + started.user + " on " + started.computer;
}

std::string ReportUnfinishedInstallations(CInstallJournalFile& journal)
{
    std::string text;
    for (const UnfinishedAttempt& attempt : UnfinishedAttempts(ReadInstallJournal(journal.Path()).records)) {
        if (attempt.reported)
            continue;
        text += "\n\n" + DescribeAttempt(attempt.started);
        InstallRecord note = attempt.started;
        note.time = UtcTimestamp();
        note.event = InstallEvent::Interrupted;
        note.resultText = "did not finish; named at the next start of the program";
        std::string ignored;
        journal.Append(note, ignored);
    }
    if (text.empty())
        return text;
    return "An installation did not finish, so its module may not have the configuration it was to get. "
           "Check the module's configuration:" +
           text;
}

}  // namespace stratigon
