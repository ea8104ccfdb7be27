// Today's date in the local time zone, for the date line of the report.
// The system clock gives it in the program; tests fix the date.
#pragma once

#include <ctime>

namespace stratigon {

class ILocalDate {
public:
    virtual ~ILocalDate() = default;
    // False when the local time cannot be determined.
    virtual bool Today(std::tm& date) = 0;
};

}  // namespace stratigon
