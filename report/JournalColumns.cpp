#include "report/JournalColumns.h"

namespace stratigon {

namespace {

struct Column {
    const char* name;
    std::string InstallRecord::*field;
};

const Column kColumns[] = {
    {"time", &InstallRecord::time},
    {"computer", &InstallRecord::computer},
    {"user", &InstallRecord::user},
    {"front_end", &InstallRecord::frontEnd},
    {"attempt", &InstallRecord::attempt},
    {"event", &InstallRecord::event},
    {"resource", &InstallRecord::resource},
    {"frame", &InstallRecord::frame},
    {"slot", &InstallRecord::slot},
    {"product", &InstallRecord::product},
    {"serial_number", &InstallRecord::serialNumber},
    {"unique_id", &InstallRecord::uniqueId},
    {"kit_option", &InstallRecord::kitOption},
    {"depth_before", &InstallRecord::depthBefore},
    {"speed_before", &InstallRecord::speedBefore},
    {"depth_after", &InstallRecord::depthAfter},
    {"speed_after", &InstallRecord::speedAfter},
    {"result_code", &InstallRecord::resultCode},
    {"result_text", &InstallRecord::resultText},
};

}  // namespace

const std::vector<std::string>& JournalColumnNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const Column& column : kColumns)
            list.emplace_back(column.name);
        return list;
    }();
    return names;
}

std::vector<std::string> JournalFields(const InstallRecord& record)
{
    std::vector<std::string> fields;
    for (const Column& column : kColumns)
        fields.push_back(record.*column.field);
    return fields;
}

InstallRecord JournalRecord(const std::vector<std::string>& fields)
{
    InstallRecord record;
    for (std::size_t i = 0; i < std::size(kColumns) && i < fields.size(); ++i)
        record.*kColumns[i].field = fields[i];
    return record;
}

}  // namespace stratigon
