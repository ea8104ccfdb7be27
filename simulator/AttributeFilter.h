// The attribute part of a resource search, "{VI_ATTR_SLOT > 2 && !(VI_ATTR_INTF_NUM == 1)}":
// a resource's attributes compared with numbers or quoted texts, joined by "&&" and "||",
// negated by "!" and grouped by parentheses, with the usual precedence.
#pragma once

#include "simulator/AttributeTable.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace stratigon::sim {

class AttributeFilter {
public:
    // The value of one attribute of the resource under test.
    using Lookup = std::function<AttributeTable::Value(const AttributeTable::Row& attribute)>;

    // The text between the braces. Nothing when it is no such expression, names an attribute
    // a search cannot see, or compares a text with a number or by size.
    static std::optional<AttributeFilter> Parse(std::string_view text);
    bool Matches(const Lookup& lookup) const;

private:
    class Parser;
    enum class Operator { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

    struct Node {
        enum class Kind { Any, All, Not, Compare };
        Kind kind = Kind::Compare;
        std::vector<std::size_t> children{};
        const AttributeTable::Row* attribute = nullptr;
        Operator comparison = Operator::Equal;
        AttributeTable::Value value{};
    };

    bool Evaluate(std::size_t node, const Lookup& lookup) const;
    static bool Compare(const AttributeTable::Value& actual, Operator comparison, const AttributeTable::Value& value);

    std::vector<Node> nodes_;
    std::size_t root_ = 0;
};

}  // namespace stratigon::sim
