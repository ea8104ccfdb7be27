#include "simulator/MemoryAddress.h"

#include <charconv>

namespace stratigon::sim {

std::optional<std::uint32_t> MemoryAddress::Parse(std::string_view text)
{
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
        return std::nullopt;
    }
    const auto digits = text.substr(2);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

std::string MemoryAddress::Format(std::uint32_t address)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, address, 16).ptr;
    std::string text = "0x";
    for (const char* p = digits; p != end; ++p) {
        text += (*p >= 'a' && *p <= 'f') ? static_cast<char>(*p - 'a' + 'A') : *p;
    }
    return text;
}

}  // namespace stratigon::sim
