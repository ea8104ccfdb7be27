// What a program may change about its own session through viSetAttribute: the time-out, the
// character that ends a read, and whether a write ends its message. Each session starts so.
#pragma once

#include "instrument/VisaTypes.h"

namespace stratigon::sim {

struct SessionSettings {
    // The simulated bus never waits, but programs show the value and set it.
    ViUInt32 timeoutMs = 2000;
    unsigned char termChar = '\n';
    bool termCharEnabled = false;
    bool sendEnd = true;
};

}  // namespace stratigon::sim
