// The resource search expressions of viFindRsrc, in the subset programs use: literal
// characters (any case), "?" for one character, "*" and "+" repeating what stands before.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stratigon::sim {

class ResourceExpression {
public:
    // Nothing for an empty expression or one that uses regular-expression features beyond
    // that subset (classes, groups, alternatives, attribute filters).
    static std::optional<ResourceExpression> Parse(std::string_view expression);
    bool Matches(std::string_view resource) const;

private:
    enum class Repeat { Once, AnyNumber, AtLeastOnce };
    struct Atom {
        char character;  // 0 for "?"
        Repeat repeat;
    };

    bool MatchFrom(std::size_t atom, std::string_view rest) const;
    static bool AtomMatches(const Atom& atom, char c);

    std::vector<Atom> atoms_;
};

}  // namespace stratigon::sim
