// Applies one kit option to one module: checks the row against the module, changes what
// must change, and reports the outcome to a person or as a result code to a client.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "catalogue/InstallFrontEnd.h"
#include "instrument/IMessageSink.h"
#include "instrument/VisaTypes.h"

namespace stratigon {

class CModule;

enum class InstallStatus {
    NoOptionTable,     // the product has none; the lookup has told the user
    InvalidOption,     // the row index is outside the table
    Incompatible,      // the module's depth or speed is not what the row requires
    AlreadyInstalled,  // nothing would change; nothing was sent
    ChangeFailed,      // the configuration change did not report success
    Installed,
};

struct InstallOutcome {
    InstallStatus status = InstallStatus::NoOptionTable;
    int changeCode = 0;   // what the configuration change returned, when it ran
    std::string message;  // what a person is shown after the lower layers' messages; may be empty
};

// The common steps of every front end. `module` holds the module behind `session`, as read
// last; the lower layers show their own messages, the outcome's message is left to the caller.
// The attempt is recorded in the install journal under the front end's name before anything
// is sent to the module, and again when it ends.
InstallOutcome ApplyOption(CModule& module, ViSession session, std::int32_t rowIndex, IMessageSink& messages,
                           const InstallFrontEnd& frontEnd);

// For a person: shows the outcome and, after a successful installation only, closes the
// install window through `closeInstallWindow`.
void InstallOption(CModule& module, ViSession session, std::int32_t rowIndex, IMessageSink& messages,
                   const std::function<void()>& closeInstallWindow);

// For an automation client: the AutomationResult of the outcome; no message of its own.
std::uint32_t InstallOptionForClient(CModule& module, ViSession session, std::int32_t rowIndex, IMessageSink& messages);

std::uint32_t ClientResultOf(InstallStatus status);

}  // namespace stratigon
