#include "report/SystemLocalDate.h"

namespace stratigon {

bool SystemLocalDate::Today(std::tm& date)
{
    const std::time_t now = std::time(nullptr);
    if (now == static_cast<std::time_t>(-1))
        return false;
#if defined(_WIN32)
    return localtime_s(&date, &now) == 0;
#else
    return localtime_r(&now, &date) != nullptr;
#endif
}

}  // namespace stratigon
