#include "simulator/Trace.h"

#include <cstdint>
#include <cstdio>

namespace stratigon::sim {

void Trace::SetFile(const std::filesystem::path& path)
{
    if (path == filePath_ && (path.empty() || file_.is_open())) {
        return;
    }
    file_.close();
    filePath_ = path;
    if (!path.empty()) {
        file_.open(path, std::ios::binary | std::ios::app);
    }
}

void Trace::RecordWrite(std::string_view resource, std::string_view bytes, ViStatus status)
{
    std::string line = "W " + std::string(resource) + " " + Escape(bytes);
    if (status < 0) {
        line += " !" + HexStatus(status);
    }
    Append(std::move(line));
}

void Trace::RecordRead(std::string_view resource, std::string_view bytes, ViStatus status)
{
    const std::string text = status < 0 ? "!" + HexStatus(status) : Escape(bytes);
    Append("R " + std::string(resource) + " " + text);
}

std::vector<std::string> Trace::Lines() const
{
    return {lines_.begin(), lines_.end()};
}

void Trace::Clear()
{
    lines_.clear();
}

std::string Trace::Escape(std::string_view bytes)
{
    const bool endsInLineFeed = !bytes.empty() && bytes.back() == '\n';
    if (endsInLineFeed) {
        bytes.remove_suffix(1);
    }
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text += c;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        text += escaped;
    }
    return endsInLineFeed ? text + "\\n" : text;
}

std::string Trace::HexStatus(ViStatus status)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(static_cast<std::uint32_t>(status)));
    return text;
}

void Trace::Append(std::string line)
{
    if (file_.is_open()) {
        file_ << line << '\n';
        file_.flush();
    }
    lines_.push_back(std::move(line));
    if (lines_.size() > kMemoryLines) {
        lines_.pop_front();
    }
}

}  // namespace stratigon::sim
