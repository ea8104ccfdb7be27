// Reads the arguments of module commands (decimal numbers, "#H" hexadecimal words, comma
// pairs) and says which SCPI error a malformed argument earns.
#pragma once

#include "simulator/ScpiError.h"

#include <cstdint>
#include <string_view>

namespace stratigon::sim {

class ArgumentParser {
public:
    template <class T>
    struct Result {
        T value{};
        ScpiError error = ScpiError::None;
    };

    struct Pair {
        std::string_view first;
        std::string_view second;
        ScpiError error = ScpiError::None;
    };

    // Strips blanks, tabs and line ends on both sides.
    static std::string_view Trim(std::string_view text);
    // Splits a message at its first blank into header and (trimmed) arguments.
    static Pair SplitHeader(std::string_view message);
    // "[+|-]digits"; empty is a missing parameter, anything else malformed is a type error.
    static Result<std::int64_t> Decimal(std::string_view text);
    // "#H" followed by hexadecimal digits of either case.
    static Result<std::uint64_t> Hex(std::string_view text);
    // "a, b": both halves trimmed; a missing half is a missing parameter.
    static Pair SplitAtComma(std::string_view text);
};

}  // namespace stratigon::sim
