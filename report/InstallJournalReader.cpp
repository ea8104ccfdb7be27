#include "report/InstallJournalReader.h"

#include <fstream>
#include <map>
#include <sstream>

#include "report/CsvFields.h"
#include "report/JournalColumns.h"

namespace stratigon {

namespace {

struct AttemptEnds {
    bool ended = false;
    bool interrupted = false;
};

}  // namespace

JournalContents ReadInstallJournal(const std::string& path)
{
    JournalContents contents;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto fields = ParseCsvLine(line);
        const bool whole = fields && fields->size() == JournalColumnNames().size();
        if (whole && *fields == JournalColumnNames())
            continue;
        if (whole)
            contents.records.push_back(JournalRecord(*fields));
        else if (!line.empty())
            contents.warnings.push_back(path + " line " + std::to_string(number) +
                                        " is not a whole record (cut off while it was written) and is skipped.");
    }
    return contents;
}

std::vector<UnfinishedAttempt> UnfinishedAttempts(const std::vector<InstallRecord>& records)
{
    std::map<std::string, AttemptEnds> ends;
    for (const InstallRecord& record : records) {
        if (record.event == InstallEvent::Interrupted)
            ends[record.attempt].interrupted = true;
        else if (record.event != InstallEvent::Started)
            ends[record.attempt].ended = true;
    }
    std::vector<UnfinishedAttempt> unfinished;
    for (const InstallRecord& record : records) {
        const AttemptEnds& end = ends[record.attempt];
        if (record.event == InstallEvent::Started && !end.ended)
            unfinished.push_back({record, end.interrupted});
    }
    return unfinished;
}

}  // namespace stratigon
