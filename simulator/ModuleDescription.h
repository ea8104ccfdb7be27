// What the bench file says about one simulated instrument: its VXI address, its personality,
// the configuration it starts with and the faults it shows.
#pragma once

#include "simulator/InstrumentKind.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace stratigon::sim {

struct ModuleDescription {
    // Matched against a message's header (text up to the first blank) or its whole text.
    struct Faults {
        bool exclusiveLock = false;
        bool openError = false;
        bool attributeError = false;
        std::vector<std::string> refuse;
        std::vector<std::string> noAnswer;
        std::vector<std::string> writeError;
        std::vector<std::string> readError;
    };

    int interfaceNumber = 0;
    int slot = 0;
    int logicalAddress = 0;
    int modelCode = 0;
    std::string resource;
    InstrumentKind kind = InstrumentKind::Analyzer;
    std::string idn;
    std::string channels = "136";
    std::int64_t depth = 65536;
    std::int64_t stateSpeedMhz = 100;
    std::int64_t hresPeriodPs = 125;
    double asyncPeriodS = 2.5e-9;
    std::string patternOption = "STD";
    std::map<std::uint32_t, std::uint32_t> memory;
    Faults faults;
    // How long the module takes to answer: each open and each read waits this long.
    int latencyMs = 0;
    // Verbatim answers by message text; they bypass the personality entirely.
    std::map<std::string, std::string> answers;
};

}  // namespace stratigon::sim
