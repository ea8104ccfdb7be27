// The ways a person or a program installs an upgrade, as the install journal names them, and
// what each front end lets the installation say to the person.
#pragma once

namespace stratigon {

struct InstallFrontEnd {
    const char* name;
    // The outcome's message reaches the person.
    bool showsOutcome;
    // A failure's result reaches the person or the client with its text.
    bool showsResultText;
    // A message that the journal cannot be written may be shown: never during an automation
    // call, which a message box would hold up.
    bool mayTellJournalTrouble;
};

inline constexpr InstallFrontEnd kInstallWindow{"install window", true, false, true};
inline constexpr InstallFrontEnd kAutomation{"automation", false, true, false};
inline constexpr InstallFrontEnd kCommandLine{"command line", true, true, true};

}  // namespace stratigon
