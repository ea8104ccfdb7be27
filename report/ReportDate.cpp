#include "report/ReportDate.h"

namespace stratigon {

std::string FormatReportDate(const std::tm* date)
{
    if (date == nullptr)
        return {};
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%B %d, %Y", date);
    return std::string(text, length);
}

std::string ReportDateText(ILocalDate& today)
{
    std::tm date{};
    return today.Today(date) ? FormatReportDate(&date) : std::string();
}

}  // namespace stratigon
