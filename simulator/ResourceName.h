// A resource string of the VXI interfaces as viParseRsrc and viOpen read it, in any of the
// forms VISA allows ("vxi::24" is VXI0::24::INSTR): interface, board, class, canonical name.
#pragma once

#include "instrument/VisaTypes.h"
#include "simulator/ModuleDescription.h"

#include <string>
#include <string_view>

namespace stratigon::sim {

struct ResourceName {
    ViUInt16 interfaceType = 0;
    ViUInt16 board = 0;
    std::string resourceClass;
    std::string canonical;

    // VI_ERROR_INV_RSRC_NAME for text that is no resource string; VI_ERROR_RSRC_NFOUND for a
    // resource of an interface type no simulated bench has (GPIB, serial, network, USB...).
    static ViStatus Parse(std::string_view text, ResourceName& name);
    // A bench resource's name read the same way; one in no form of VISA's counts as a VXI
    // instrument named so on the module's interface.
    static ResourceName Of(const ModuleDescription& module);
    // Resource names and their parts compare without regard to case.
    static bool SameText(std::string_view a, std::string_view b);
};

}  // namespace stratigon::sim
