// The computer's clock and time zone: the date the report is written on.
// Tests use a fixed date instead.
#pragma once

#include "report/ILocalDate.h"

namespace stratigon {

class SystemLocalDate final : public ILocalDate {
public:
    bool Today(std::tm& date) override;
};

}  // namespace stratigon
