#include "cli/JournalListing.h"

#include <set>

#include "catalogue/CatalogueText.h"
#include "cli/TextTable.h"
#include "report/InstallJournalReader.h"
#include "report/JournalColumns.h"

namespace stratigon::cli {

namespace {

constexpr char kUnfinishedMark[] = "DID NOT FINISH";

bool Chosen(const InstallRecord& record, const std::optional<std::string>& serial, const std::optional<std::string>& since)
{
    // Journal times compare as texts: a date sorts before every time of its day.
    return (!serial || EqualsIgnoringCase(record.serialNumber, *serial)) && (!since || record.time >= *since);
}

}  // namespace

std::vector<JournalEntry> SelectJournalEntries(const std::vector<InstallRecord>& records,
                                               const std::optional<std::string>& serial,
                                               const std::optional<std::string>& since)
{
    std::set<std::string> unfinished;
    for (const UnfinishedAttempt& attempt : UnfinishedAttempts(records))
        unfinished.insert(attempt.started.attempt);
    std::vector<JournalEntry> entries;
    for (const InstallRecord& record : records)
        if (Chosen(record, serial, since))
            entries.push_back({record, record.event == InstallEvent::Started && unfinished.count(record.attempt) != 0});
    return entries;
}

std::string ToText(const std::vector<JournalEntry>& entries)
{
    if (entries.empty())
        return "No installations recorded.\n";
    TextTable table;
    table.AddRow({"Time", "Front end", "Event", "Product", "Serial", "Unique ID", "Kit option", "Before", "After", "Result"});
    for (const JournalEntry& e : entries) {
        const InstallRecord& r = e.record;
        const std::string before = r.depthBefore + "@" + r.speedBefore;
        const std::string after = r.depthAfter.empty() ? std::string() : r.depthAfter + "@" + r.speedAfter;
        const std::string result = r.resultCode.empty() ? std::string() : r.resultCode + " " + r.resultText;
        table.AddRow({r.time, r.frontEnd, e.unfinished ? r.event + " " + kUnfinishedMark : r.event, r.product,
                      r.serialNumber, r.uniqueId, r.kitOption, before, after, result});
    }
    return table.Render();
}

nlohmann::ordered_json ToJson(const std::vector<JournalEntry>& entries)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const JournalEntry& e : entries) {
        nlohmann::ordered_json entry;
        const std::vector<std::string> fields = JournalFields(e.record);
        for (std::size_t i = 0; i < fields.size(); ++i)
            entry[JournalColumnNames()[i]] = fields[i];
        entry["unfinished"] = e.unfinished;
        list.push_back(std::move(entry));
    }
    return list;
}

}  // namespace stratigon::cli
