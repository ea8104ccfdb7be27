// The automation message table: the text an automation client is given with each error code.
// Built into the program and the command-line tool, so both speak the same words.
#pragma once

#include <cstdint>
#include <string_view>

namespace stratigon {

// The text of an error code (the low 16 bits of an automation result); empty for a code the
// table has no entry for, which is still raised with its code.
std::string_view AutomationMessageText(std::uint32_t code);

}  // namespace stratigon
