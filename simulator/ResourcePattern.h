// The regular expression of a resource search, matched against whole resource names without
// regard to case: literal characters, "?" for any one character, "[list]" and "[^list]" with
// ranges, "*" and "+" repeating what stands before, "|" between alternatives, "(...)" groups,
// and "\" making the next character literal.
#pragma once

#include <bitset>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace stratigon::sim {

class ResourcePattern {
public:
    // Nothing for text that is no such expression: empty, unbalanced, a repeat with nothing
    // to repeat, an empty alternative or class, a range running backwards.
    static std::optional<ResourcePattern> Parse(std::string_view text);
    bool Matches(std::string_view resource) const;

private:
    class Parser;
    // The ends reachable from a set of start positions, one flag per position of the name:
    // no backtracking, so no expression takes long however it nests.
    using Positions = std::vector<bool>;

    struct Node {
        enum class Kind { Character, Sequence, Alternatives, Repeat };
        Kind kind = Kind::Character;
        std::bitset<256> characters{};
        std::vector<std::size_t> children{};
        bool atLeastOnce = false;
    };

    Positions Advance(std::size_t node, const Positions& starts, std::string_view name) const;
    Positions Repeat(const Node& node, const Positions& starts, std::string_view name) const;

    std::vector<Node> nodes_;
    std::size_t root_ = 0;
};

}  // namespace stratigon::sim
