// A VISA library holding one accepted analyzer slot whose answers come from the fuzz input:
// the scan finds the module, and every viRead hands out the input's next answer.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>

#include "instrument/VisaFunctions.h"

namespace stratigon::fuzz {

class ScriptedVisa {
public:
    static constexpr ViSession kResourceManager = 1;
    static constexpr ViSession kSession = 100;
    static constexpr char kResource[] = "VXI0::24::INSTR";
    // Longer than the program's buffers, so overlong answers are among the inputs.
    static constexpr std::size_t kLongestAnswer = 1024;

    // Only one at a time: the plain C function table reaches it through a process-wide pointer.
    explicit ScriptedVisa(FuzzedDataProvider& input);
    ~ScriptedVisa();
    ScriptedVisa(const ScriptedVisa&) = delete;
    ScriptedVisa& operator=(const ScriptedVisa&) = delete;

    const VisaFunctions& Functions() const { return m_functions; }

    // A lying library: it reports the whole count as delivered, whatever it delivered.
    bool claimsFullCount = false;

    // Called by the C functions.
    ViStatus Read(ViPBuf buffer, ViUInt32 count, ViUInt32* received);

private:
    FuzzedDataProvider& m_input;
    VisaFunctions m_functions;
};

}  // namespace stratigon::fuzz
