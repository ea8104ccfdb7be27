#include "simulator/ResourcePattern.h"

#include <cctype>
#include <string_view>

namespace stratigon::sim {
namespace {

constexpr std::string_view kSpecial = "?*+[]()|\\{}";
// Deeper groups than any search needs; the limit keeps a hostile expression off the stack.
constexpr int kDeepestGroup = 32;

void AddCaseless(std::bitset<256>& set, unsigned char c)
{
    set.set(static_cast<unsigned char>(std::toupper(c)));
    set.set(static_cast<unsigned char>(std::tolower(c)));
}

}  // namespace

class ResourcePattern::Parser {
public:
    Parser(std::string_view text, std::vector<Node>& nodes) : text_(text), nodes_(nodes) {}

    std::optional<std::size_t> Whole()
    {
        const auto root = Alternatives(0);
        return root && AtEnd() ? root : std::nullopt;
    }

private:
    bool AtEnd() const { return position_ == text_.size(); }
    bool Accept(char c)
    {
        if (AtEnd() || text_[position_] != c) {
            return false;
        }
        ++position_;
        return true;
    }
    std::size_t Add(Node node)
    {
        nodes_.push_back(std::move(node));
        return nodes_.size() - 1;
    }
    // A list of one needs no node of its own.
    std::size_t AddList(Node::Kind kind, std::vector<std::size_t> children)
    {
        return children.size() == 1 ? children.front() : Add({.kind = kind, .children = std::move(children)});
    }

    std::optional<std::size_t> Alternatives(int depth)
    {
        if (depth > kDeepestGroup) {
            return std::nullopt;
        }
        std::vector<std::size_t> children;
        do {
            const auto sequence = Sequence(depth);
            if (!sequence) {
                return std::nullopt;
            }
            children.push_back(*sequence);
        } while (Accept('|'));
        return AddList(Node::Kind::Alternatives, std::move(children));
    }

    std::optional<std::size_t> Sequence(int depth)
    {
        std::vector<std::size_t> children;
        while (!AtEnd() && text_[position_] != '|' && text_[position_] != ')') {
            const auto piece = Piece(depth);
            if (!piece) {
                return std::nullopt;
            }
            children.push_back(*piece);
        }
        if (children.empty()) {
            return std::nullopt;
        }
        return AddList(Node::Kind::Sequence, std::move(children));
    }

    std::optional<std::size_t> Piece(int depth)
    {
        const auto atom = Atom(depth);
        if (!atom || AtEnd() || (text_[position_] != '*' && text_[position_] != '+')) {
            return atom;
        }
        const bool atLeastOnce = text_[position_++] == '+';
        return Add({.kind = Node::Kind::Repeat, .children = {*atom}, .atLeastOnce = atLeastOnce});
    }

    std::optional<std::size_t> Atom(int depth)
    {
        if (AtEnd()) {
            return std::nullopt;
        }
        const char c = text_[position_++];
        if (c == '(') {
            const auto group = Alternatives(depth + 1);
            return group && Accept(')') ? group : std::nullopt;
        }
        if (c == '[') {
            return Class();
        }
        Node node;
        if (c == '?') {
            node.characters.set();
        } else if (c == '\\' && !AtEnd()) {
            AddCaseless(node.characters, static_cast<unsigned char>(text_[position_++]));
        } else if (kSpecial.find(c) == std::string_view::npos) {
            AddCaseless(node.characters, static_cast<unsigned char>(c));
        } else {
            return std::nullopt;
        }
        return Add(std::move(node));
    }

    // One character of a list, "\" making "]", "-" or "^" an ordinary one.
    std::optional<unsigned char> ListCharacter()
    {
        if (AtEnd() || (text_[position_] == '\\' && ++position_ == text_.size())) {
            return std::nullopt;
        }
        return static_cast<unsigned char>(text_[position_++]);
    }

    std::optional<std::size_t> Class()
    {
        Node node;
        const bool negated = Accept('^');
        bool empty = true;
        while (!Accept(']')) {
            const auto first = ListCharacter();
            const bool range = first && position_ + 1 < text_.size() && text_[position_] == '-' &&
                               text_[position_ + 1] != ']' && Accept('-');
            const auto last = range ? ListCharacter() : first;
            if (!first || !last || *last < *first) {
                return std::nullopt;
            }
            for (int c = *first; c <= *last; ++c) {
                AddCaseless(node.characters, static_cast<unsigned char>(c));
            }
            empty = false;
        }
        if (empty) {
            return std::nullopt;
        }
        if (negated) {
            node.characters.flip();
        }
        return Add(std::move(node));
    }

    std::string_view text_;
    std::size_t position_ = 0;
    std::vector<Node>& nodes_;
};

std::optional<ResourcePattern> ResourcePattern::Parse(std::string_view text)
{
    ResourcePattern pattern;
    const auto root = Parser(text, pattern.nodes_).Whole();
    if (!root) {
        return std::nullopt;
    }
    pattern.root_ = *root;
    return pattern;
}

bool ResourcePattern::Matches(std::string_view resource) const
{
    Positions start(resource.size() + 1, false);
    start[0] = true;
    return Advance(root_, start, resource)[resource.size()];
}

ResourcePattern::Positions ResourcePattern::Advance(std::size_t index, const Positions& starts,
                                                    std::string_view name) const
{
    const Node& node = nodes_[index];
    Positions ends(starts.size(), false);
    switch (node.kind) {
    case Node::Kind::Character:
        for (std::size_t i = 0; i < name.size(); ++i) {
            ends[i + 1] = starts[i] && node.characters[static_cast<unsigned char>(name[i])];
        }
        return ends;
    case Node::Kind::Sequence:
        ends = starts;
        for (const std::size_t child : node.children) {
            ends = Advance(child, ends, name);
        }
        return ends;
    case Node::Kind::Alternatives:
        for (const std::size_t child : node.children) {
            const Positions reached = Advance(child, starts, name);
            for (std::size_t i = 0; i < ends.size(); ++i) {
                ends[i] = ends[i] || reached[i];
            }
        }
        return ends;
    case Node::Kind::Repeat:
        return Repeat(node, starts, name);
    }
    return ends;
}

// One more round from the positions reached last time, until a round reaches nothing new.
ResourcePattern::Positions ResourcePattern::Repeat(const Node& node, const Positions& starts,
                                                   std::string_view name) const
{
    Positions reached = node.atLeastOnce ? Positions(starts.size(), false) : starts;
    Positions frontier = starts;
    bool any = true;
    while (any) {
        const Positions next = Advance(node.children.front(), frontier, name);
        any = false;
        for (std::size_t i = 0; i < next.size(); ++i) {
            frontier[i] = next[i] && !reached[i];
            reached[i] = reached[i] || next[i];
            any = any || frontier[i];
        }
    }
    return reached;
}

}  // namespace stratigon::sim
