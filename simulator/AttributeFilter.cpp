#include "simulator/AttributeFilter.h"

#include <cctype>
#include <charconv>
#include <utility>

namespace stratigon::sim {
namespace {

// Deeper nesting than any search needs; the limit keeps a hostile expression off the stack.
constexpr int kDeepestNesting = 32;

bool IsNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

}  // namespace

class AttributeFilter::Parser {
public:
    Parser(std::string_view text, std::vector<Node>& nodes) : text_(text), nodes_(nodes) {}

    std::optional<std::size_t> Whole()
    {
        const auto root = Any(0);
        Accept(std::string_view());
        return root && text_.empty() ? root : std::nullopt;
    }

private:
    // Skips blanks, then takes the token if it comes next; the empty token only skips.
    bool Accept(std::string_view token)
    {
        while (!text_.empty() && std::isspace(static_cast<unsigned char>(text_.front()))) {
            text_.remove_prefix(1);
        }
        if (!text_.starts_with(token)) {
            return false;
        }
        text_.remove_prefix(token.size());
        return true;
    }

    std::size_t Add(Node node)
    {
        nodes_.push_back(std::move(node));
        return nodes_.size() - 1;
    }

    // Terms joined by one operator: "a || b || c" over "&&" terms, "a && b" over unary ones.
    template <class Term>
    std::optional<std::size_t> Joined(std::string_view joiner, Node::Kind kind, Term term)
    {
        std::vector<std::size_t> children;
        do {
            const auto child = term();
            if (!child) {
                return std::nullopt;
            }
            children.push_back(*child);
        } while (Accept(joiner));
        return children.size() == 1 ? children.front() : Add({.kind = kind, .children = std::move(children)});
    }

    std::optional<std::size_t> Any(int depth)
    {
        const auto all = [&] { return Joined("&&", Node::Kind::All, [&] { return Unary(depth); }); };
        return Joined("||", Node::Kind::Any, all);
    }

    std::optional<std::size_t> Unary(int depth)
    {
        if (depth > kDeepestNesting) {
            return std::nullopt;
        }
        if (Accept("!")) {
            const auto operand = Unary(depth + 1);
            return operand ? std::optional(Add({.kind = Node::Kind::Not, .children = {*operand}})) : std::nullopt;
        }
        if (Accept("(")) {
            const auto inner = Any(depth + 1);
            return inner && Accept(")") ? inner : std::nullopt;
        }
        return Comparison();
    }

    std::optional<std::size_t> Comparison()
    {
        Accept(std::string_view());
        std::size_t length = 0;
        while (length < text_.size() && IsNameCharacter(text_[length])) {
            ++length;
        }
        const AttributeTable::Row* attribute = AttributeTable::Find(text_.substr(0, length));
        text_.remove_prefix(length);
        const auto comparison = ReadOperator();
        const auto value = Literal();
        if (attribute == nullptr || (attribute->holders & AttributeTable::Search) == 0 || !comparison || !value) {
            return std::nullopt;
        }
        const bool text = attribute->type == AttributeTable::Type::Text;
        if (text != std::holds_alternative<std::string>(*value) ||
            (text && *comparison != Operator::Equal && *comparison != Operator::NotEqual)) {
            return std::nullopt;
        }
        return Add({.attribute = attribute, .comparison = *comparison, .value = *value});
    }

    std::optional<Operator> ReadOperator()
    {
        // Two-character operators first: "<=" is not "<" followed by "=".
        static constexpr std::pair<std::string_view, Operator> kOperators[] = {
            {"==", Operator::Equal}, {"!=", Operator::NotEqual}, {"<=", Operator::LessOrEqual},
            {">=", Operator::GreaterOrEqual}, {"<", Operator::Less}, {">", Operator::Greater},
        };
        for (const auto& [token, comparison] : kOperators) {
            if (Accept(token)) {
                return comparison;
            }
        }
        return std::nullopt;
    }

    // A quoted text, or a decimal or "0x" hexadecimal number with an optional minus.
    std::optional<AttributeTable::Value> Literal()
    {
        if (Accept("\"")) {
            const auto close = text_.find('"');
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            std::string quoted(text_.substr(0, close));
            text_.remove_prefix(close + 1);
            return AttributeTable::Value(std::move(quoted));
        }
        const bool negative = Accept("-");
        const bool hex = Accept("0x") || Accept("0X");
        std::uint32_t number = 0;
        const auto [end, error] = std::from_chars(text_.data(), text_.data() + text_.size(), number, hex ? 16 : 10);
        if (error != std::errc() || (end < text_.data() + text_.size() && IsNameCharacter(*end))) {
            return std::nullopt;
        }
        text_.remove_prefix(static_cast<std::size_t>(end - text_.data()));
        return AttributeTable::Value(negative ? -std::int64_t{number} : std::int64_t{number});
    }

    std::string_view text_;
    std::vector<Node>& nodes_;
};

std::optional<AttributeFilter> AttributeFilter::Parse(std::string_view text)
{
    AttributeFilter filter;
    const auto root = Parser(text, filter.nodes_).Whole();
    if (!root) {
        return std::nullopt;
    }
    filter.root_ = *root;
    return filter;
}

bool AttributeFilter::Matches(const Lookup& lookup) const
{
    return Evaluate(root_, lookup);
}

bool AttributeFilter::Evaluate(std::size_t index, const Lookup& lookup) const
{
    const Node& node = nodes_[index];
    switch (node.kind) {
    case Node::Kind::Any:
        for (const std::size_t child : node.children) {
            if (Evaluate(child, lookup)) {
                return true;
            }
        }
        return false;
    case Node::Kind::All:
        for (const std::size_t child : node.children) {
            if (!Evaluate(child, lookup)) {
                return false;
            }
        }
        return true;
    case Node::Kind::Not:
        return !Evaluate(node.children.front(), lookup);
    case Node::Kind::Compare:
        return Compare(lookup(*node.attribute), node.comparison, node.value);
    }
    return false;
}

bool AttributeFilter::Compare(const AttributeTable::Value& actual, Operator comparison,
                              const AttributeTable::Value& value)
{
    switch (comparison) {
    case Operator::Equal:
        return actual == value;
    case Operator::NotEqual:
        return actual != value;
    case Operator::Less:
        return actual < value;
    case Operator::LessOrEqual:
        return actual <= value;
    case Operator::Greater:
        return actual > value;
    case Operator::GreaterOrEqual:
        return actual >= value;
    }
    return false;
}

}  // namespace stratigon::sim
