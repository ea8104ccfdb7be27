#include "simulator/ArgumentParser.h"

#include <limits>

namespace stratigon::sim {
namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::string_view ArgumentParser::Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

ArgumentParser::Pair ArgumentParser::SplitHeader(std::string_view message)
{
    const auto text = Trim(message);
    const auto blank = text.find(' ');
    if (blank == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, blank), Trim(text.substr(blank + 1))};
}

ArgumentParser::Result<std::int64_t> ArgumentParser::Decimal(std::string_view text)
{
    text = Trim(text);
    if (text.empty()) {
        return {0, ScpiError::MissingParameter};
    }
    const bool negative = text.front() == '-';
    if (text.front() == '-' || text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return {0, ScpiError::DataTypeError};
    }
    std::int64_t value = 0;
    bool tooLarge = false;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return {0, ScpiError::DataTypeError};
        }
        tooLarge = tooLarge || value > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10;
        value = tooLarge ? value : value * 10 + (c - '0');
    }
    if (tooLarge) {
        return {0, ScpiError::DataOutOfRange};
    }
    return {negative ? -value : value, ScpiError::None};
}

ArgumentParser::Result<std::uint64_t> ArgumentParser::Hex(std::string_view text)
{
    text = Trim(text);
    if (text.empty()) {
        return {0, ScpiError::MissingParameter};
    }
    if (text.size() < 3 || text[0] != '#' || (text[1] != 'H' && text[1] != 'h')) {
        return {0, ScpiError::DataTypeError};
    }
    std::uint64_t value = 0;
    bool tooLarge = false;
    for (const char c : text.substr(2)) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            return {0, ScpiError::DataTypeError};
        }
        tooLarge = tooLarge || (value >> 60) != 0;
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    if (tooLarge) {
        return {0, ScpiError::DataOutOfRange};
    }
    return {value, ScpiError::None};
}

ArgumentParser::Pair ArgumentParser::SplitAtComma(std::string_view text)
{
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) {
        return {Trim(text), {}, ScpiError::MissingParameter};
    }
    Pair pair{Trim(text.substr(0, comma)), Trim(text.substr(comma + 1))};
    if (pair.first.empty() || pair.second.empty()) {
        pair.error = ScpiError::MissingParameter;
    }
    return pair;
}

}  // namespace stratigon::sim
