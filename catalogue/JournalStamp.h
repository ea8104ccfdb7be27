// When, where and by whom an install journal record is made, in the journal's own forms: UTC
// time in ISO 8601, and the computer's and the user's names as UTF-8.
#pragma once

#include <string>

namespace stratigon {

std::string UtcTimestamp();
std::string ComputerName();
std::string UserName();
// Unique to one installation attempt: the process and a random part, so attempts of processes
// that write one journal at the same time never share it.
std::string NewAttemptId();

}  // namespace stratigon
