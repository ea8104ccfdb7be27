// The date line of the report: the full English month name, the two-digit day and the
// year, as the runtime's default locale writes them ("March 04, 2024").
#pragma once

#include <ctime>
#include <string>

#include "report/ILocalDate.h"

namespace stratigon {

// Empty when there is no date or the text would not fit the 128-character buffer.
std::string FormatReportDate(const std::tm* date);
std::string ReportDateText(ILocalDate& today);

}  // namespace stratigon
