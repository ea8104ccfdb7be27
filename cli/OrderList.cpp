#include "cli/OrderList.h"

#include "catalogue/AutomationResult.h"
#include "catalogue/FindOptionTable.h"
#include "catalogue/ModuleConfiguration.h"
#include "cli/ResultTexts.h"
#include "cli/TextTable.h"
#include "cli/UpgradeListing.h"
#include "instrument/FrameNames.h"
#include "module/ModuleCodes.h"
#include "report/CsvFields.h"

namespace stratigon::cli {

namespace {

constexpr char kNothingFits[] = "- No Possible Upgrades -";

// The lookup below has found the table already, so the selection has nothing to tell.
class SilentSink final : public IMessageSink {
public:
    void ShowMessage(const char*) override {}
};

std::vector<OrderLine> LinesOf(const CModule& module, const ModuleReading& reading)
{
    if (reading.status != ModuleCode::Success)
        return {{reading, {}, {}, {}, StatusText(reading.status)}};
    std::int32_t rowCount = 0;
    if (LookUpOptionTable(reading.productName, rowCount) == nullptr)
        return {{reading, {}, {}, {}, ResultText(AutomationResult::ProductNotDefined)}};
    SilentSink silent;
    std::vector<OrderLine> lines;
    for (const UpgradeCandidate& c : OrderForListing(*ExamineOptionTable(ConfigurationOf(module), silent), false))
        lines.push_back({reading, c.row->kitOptionName, c.memoryDepth, c.stateSpeed, {}});
    if (lines.empty())
        lines.push_back({reading, {}, {}, {}, kNothingFits});
    return lines;
}

// The columns of every form of the list: what the module is and has, and what it can get.
std::vector<std::string> Cells(const OrderLine& l)
{
    const ModuleReading& m = l.module;
    return {FrameName(m.device.interfaceNumber), std::to_string(m.device.slot), m.productName, m.serialNumber,
            m.uniqueId, m.memoryDepth, m.stateSpeed, l.option, l.memoryDepth, l.stateSpeed, l.reason};
}

const std::vector<std::string> kCsvHeading = {"frame", "slot", "product", "serial_number", "unique_id", "memory_depth",
                                              "state_speed", "option", "new_memory_depth", "new_state_speed", "reason"};

}  // namespace

std::vector<OrderLine> CollectOrderLines(CModule& module)
{
    std::vector<OrderLine> lines;
    // Each module's lines are taken while the record still holds it.
    for (int row = 0; row < module.GetDeviceCount(); ++row)
        for (OrderLine& line : LinesOf(module, ReadModuleAt(module, row)))
            lines.push_back(std::move(line));
    return lines;
}

std::string ToText(const std::vector<OrderLine>& lines)
{
    if (lines.empty())
        return "No modules found.\n";
    TextTable table;
    table.AddRow({"Frame", "Slot", "Product", "Serial", "Unique ID", "Depth", "State speed", "Upgrade Kit & Option",
                  "Memory Depth", "State Speed"});
    for (const OrderLine& line : lines) {
        std::vector<std::string> cells = Cells(line);
        if (line.option.empty())
            cells[7] = line.reason;
        cells.resize(10);
        table.AddRow(cells);
    }
    return table.Render();
}

nlohmann::ordered_json ToJson(const std::vector<OrderLine>& lines)
{
    nlohmann::ordered_json entries = nlohmann::ordered_json::array();
    for (const OrderLine& line : lines) {
        const std::vector<std::string> cells = Cells(line);
        nlohmann::ordered_json entry = ToJson(line.module);
        for (std::size_t c = 7; c < cells.size(); ++c)
            entry[kCsvHeading[c]] = cells[c];
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string ToCsv(const std::vector<OrderLine>& lines)
{
    std::string text = CsvLine(kCsvHeading);
    for (const OrderLine& line : lines)
        text += CsvLine(Cells(line));
    return text;
}

}  // namespace stratigon::cli
