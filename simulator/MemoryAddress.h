// Memory addresses as the bench and state files write them ("0x5000048"): one form for both
// files so a state file can be read by eye next to its bench.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace stratigon::sim {

class MemoryAddress {
public:
    // "0x" or "0X" and one to eight hexadecimal digits; anything else is no address.
    static std::optional<std::uint32_t> Parse(std::string_view text);
    static std::string Format(std::uint32_t address);
};

}  // namespace stratigon::sim
