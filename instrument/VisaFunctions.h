// The table of the eleven VISA functions the program calls. A VISA library loaded at run
// time and the simulated bench linked into a test fill it as equals.
#pragma once

#include "instrument/VisaTypes.h"

namespace stratigon {

struct VisaFunctions {
    ViOpenDefaultRMFn viOpenDefaultRM = nullptr;
    ViFindRsrcFn viFindRsrc = nullptr;
    ViFindNextFn viFindNext = nullptr;
    ViOpenFn viOpen = nullptr;
    ViCloseFn viClose = nullptr;
    ViGetAttributeFn viGetAttribute = nullptr;
    ViLockFn viLock = nullptr;
    ViUnlockFn viUnlock = nullptr;
    ViReadFn viRead = nullptr;
    ViWriteFn viWrite = nullptr;
    ViStatusDescFn viStatusDesc = nullptr;
};

// A status is a failure when it is negative as a signed 32-bit value.
constexpr bool VisaFailed(ViStatus status) { return status < 0; }

// The status as the unsigned 32-bit value that "%lx" must show, also where long is 64 bits.
constexpr unsigned long StatusBits(ViStatus status)
{
    return static_cast<unsigned long>(static_cast<std::uint32_t>(status));
}

}  // namespace stratigon
