// The scan's waits when the user asked for none (--no-wait): every wait returns at once.
// Without that option the tool waits as the program does.
#pragma once

#include "instrument/ISleeper.h"

namespace stratigon::cli {

class SkippedWaits final : public ISleeper {
public:
    void Sleep(unsigned) override {}
};

}  // namespace stratigon::cli
