#include "simulator/KeyPositions.h"

#include <algorithm>

namespace stratigon::sim {

KeyPositions::KeyPositions(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            const std::size_t end = String(text, i);
            at_.column += end - i + 1;
            i = end;
            continue;
        }
        Structure(text[i]);
        if (text[i] == '\n') {
            ++at_.line;
            at_.column = 1;
        } else {
            ++at_.column;
        }
    }
}

std::optional<KeyPositions::Position> KeyPositions::Find(const std::string& path) const
{
    const auto found = positions_.find(path);
    return found == positions_.end() ? std::nullopt : std::optional(found->second);
}

std::string KeyPositions::PathOfValueIn(const Container& container)
{
    if (container.array) {
        return container.path + "[" + std::to_string(container.index) + "]";
    }
    return container.path.empty() ? container.key : container.path + "." + container.key;
}

void KeyPositions::Structure(char c)
{
    if (c == '{' || c == '[') {
        const std::string path = open_.empty() ? std::string() : PathOfValueIn(open_.back());
        open_.push_back({c == '[', c == '{', 0, path, {}});
    } else if ((c == '}' || c == ']') && !open_.empty()) {
        open_.pop_back();
    } else if (c == ',' && !open_.empty()) {
        Container& container = open_.back();
        ++container.index;
        container.expectingKey = !container.array;
    }
}

// The index of the closing quote of the string that opens at `start`; a key is noted.
std::size_t KeyPositions::String(std::string_view text, std::size_t start)
{
    std::size_t end = start + 1;
    while (end < text.size() && text[end] != '"') {
        end += text[end] == '\\' ? 2 : 1;
    }
    if (!open_.empty() && open_.back().expectingKey) {
        Container& container = open_.back();
        container.key = std::string(text.substr(start + 1, end - start - 1));
        container.expectingKey = false;
        positions_.emplace(PathOfValueIn(container), at_);
    }
    return std::min(end, text.size());
}

}  // namespace stratigon::sim
