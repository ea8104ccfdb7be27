#include "instrument/ISleeper.h"

#include <chrono>
#include <thread>

namespace stratigon {

void ThreadSleeper::Sleep(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace stratigon
