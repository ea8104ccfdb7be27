// The wall clock that dates an installed update. The program uses the system clock; tests
// fix the time so the update stamp they expect is known.
#pragma once

#include <cstdint>

namespace stratigon {

class IClock {
public:
    virtual ~IClock() = default;
    // Whole seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t SecondsSince1970() = 0;
};

}  // namespace stratigon
