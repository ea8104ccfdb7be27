// The personalities a simulated instrument can have; they decide which commands it knows
// and the defaults the bench file leaves out.
#pragma once

namespace stratigon::sim {

enum class InstrumentKind { Analyzer, PatternGenerator, Other };

}  // namespace stratigon::sim
