// The computer's own clock, the one the program dates updates with.
// Tests use a fixed clock instead.
#pragma once

#include "module/IClock.h"

namespace stratigon {

class SystemClock final : public IClock {
public:
    std::int64_t SecondsSince1970() override;
};

}  // namespace stratigon
