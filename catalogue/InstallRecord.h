// One line of the install journal: an installation attempt as it starts, or as it ends, with
// everything a lab's quality system asks of it. Every field is the text the journal holds.
#pragma once

#include <string>

namespace stratigon {

struct InstallRecord {
    std::string time;  // UTC, ISO 8601: 2026-03-04T10:15:30Z
    std::string computer;
    std::string user;
    std::string frontEnd;  // "install window", "automation", "command line"
    std::string attempt;   // the same in the records of one attempt
    std::string event;     // "started", or how the attempt ended
    std::string resource;  // the VISA resource name
    std::string frame;     // "Mainframe", "Expansion-1", ...
    std::string slot;
    std::string product;
    std::string serialNumber;
    std::string uniqueId;
    std::string kitOption;  // the catalogue's kit option name; empty when none was defined
    std::string depthBefore;
    std::string speedBefore;
    std::string depthAfter;  // as read back when the attempt ended
    std::string speedAfter;
    std::string resultCode;  // 0, or the automation result in hexadecimal
    std::string resultText;  // what the person was shown, line breaks as blanks
};

namespace InstallEvent {
inline constexpr char Started[] = "started";
inline constexpr char Succeeded[] = "succeeded";
inline constexpr char AlreadyInstalled[] = "already installed";
inline constexpr char Refused[] = "refused";
inline constexpr char Failed[] = "failed";
// Written by a later start of the program for an attempt that has no ending.
inline constexpr char Interrupted[] = "interrupted";
}  // namespace InstallEvent

}  // namespace stratigon
