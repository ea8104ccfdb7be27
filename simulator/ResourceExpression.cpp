#include "simulator/ResourceExpression.h"

#include <cctype>

namespace stratigon::sim {
namespace {

constexpr std::string_view kUnsupported = "[]{}()|!\\&^$";

}  // namespace

std::optional<ResourceExpression> ResourceExpression::Parse(std::string_view expression)
{
    ResourceExpression parsed;
    for (const char c : expression) {
        if (kUnsupported.find(c) != std::string_view::npos) {
            return std::nullopt;
        }
        if (c == '*' || c == '+') {
            if (parsed.atoms_.empty() || parsed.atoms_.back().repeat != Repeat::Once) {
                return std::nullopt;
            }
            parsed.atoms_.back().repeat = c == '*' ? Repeat::AnyNumber : Repeat::AtLeastOnce;
            continue;
        }
        parsed.atoms_.push_back({c == '?' ? '\0' : c, Repeat::Once});
    }
    if (parsed.atoms_.empty()) {
        return std::nullopt;
    }
    return parsed;
}

bool ResourceExpression::Matches(std::string_view resource) const
{
    return MatchFrom(0, resource);
}

bool ResourceExpression::AtomMatches(const Atom& atom, char c)
{
    return atom.character == '\0' ||
           std::toupper(static_cast<unsigned char>(atom.character)) == std::toupper(static_cast<unsigned char>(c));
}

// Backtracking is fine here: resource names are short and expressions have a few atoms.
bool ResourceExpression::MatchFrom(std::size_t atom, std::string_view rest) const
{
    if (atom == atoms_.size()) {
        return rest.empty();
    }
    const Atom& current = atoms_[atom];
    if (current.repeat == Repeat::Once) {
        return !rest.empty() && AtomMatches(current, rest.front()) && MatchFrom(atom + 1, rest.substr(1));
    }
    std::size_t taken = 0;
    while (taken < rest.size() && AtomMatches(current, rest[taken])) {
        ++taken;
    }
    const std::size_t fewest = current.repeat == Repeat::AtLeastOnce ? 1 : 0;
    for (std::size_t count = taken + 1; count-- > fewest;) {
        if (MatchFrom(atom + 1, rest.substr(count))) {
            return true;
        }
    }
    return false;
}

}  // namespace stratigon::sim
