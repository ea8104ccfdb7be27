#include "module/SystemClock.h"

#include <chrono>

namespace stratigon {

std::int64_t SystemClock::SecondsSince1970()
{
    // The system clock counts from 1970-01-01 UTC on every platform we build for.
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count();
}

}  // namespace stratigon
