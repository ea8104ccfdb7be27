// What a failed automation member tells its caller, whichever way it was called: the error
// code and text of the message table (or a platform failure), and the texts of the message
// boxes the call kept from the screen, added to the description.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <optional>
#include <string>

#include "ui/CAutomationAlerts.h"

namespace stratigon::app {

struct AutomationFailure {
    WORD code = 0;          // the message table's code; 0 for a platform failure
    HRESULT status = S_OK;  // the platform failure; S_OK for an automation error
    std::string description;
    // What a dual-interface caller gets back.
    HRESULT Result() const;
};

// Runs one member's work for a client and catches whatever it raises. When the work is a
// client call of its own (`call`), the alerts count it as one: what they keep starts empty, and
// a failure's description ends with the texts they kept.
std::optional<AutomationFailure> RunForClient(const std::function<void()>& work, ui::CAutomationAlerts& alerts,
                                              bool call) noexcept;

// A late-bound caller's EXCEPINFO: the code in wCode, the text, the program as its source.
void FillException(EXCEPINFO* exception, const AutomationFailure& failure);
// A dual-interface caller's HRESULT, with the thread's error information naming `iid`.
HRESULT ReportDualError(const IID& iid, const AutomationFailure& failure) noexcept;

}  // namespace stratigon::app
