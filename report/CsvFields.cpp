#include "report/CsvFields.h"

#include <cstdint>

namespace stratigon {

namespace {

// The length of the UTF-8 sequence at `at`, or 0 when the bytes there are not one.
std::size_t Utf8Length(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

std::string Quoted(std::string_view text)
{
    std::string field = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8Length(text, at);
        if (length == 0) {
            field += '?';
            ++at;
            continue;
        }
        field.append(text.substr(at, length));
        if (text[at] == '"')
            field += '"';
        at += length;
    }
    return field + "\"";
}

}  // namespace

std::string CsvLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (const std::string& field : fields) {
        if (!line.empty())
            line += ',';
        line += Quoted(field);
    }
    return line + "\r\n";
}

std::optional<std::vector<std::string>> ParseCsvLine(std::string_view line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
        const char c = line[at];
        if (quoted && c == '"' && at + 1 < line.size() && line[at + 1] == '"') {
            fields.back() += '"';
            ++at;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    if (quoted)
        return std::nullopt;
    return fields;
}

}  // namespace stratigon
