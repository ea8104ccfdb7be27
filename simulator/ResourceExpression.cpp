#include "simulator/ResourceExpression.h"

#include "simulator/ArgumentParser.h"

namespace stratigon::sim {
namespace {

// Where the attribute part begins: the first "{" that no "\" makes literal and that stands
// outside a list; the whole length when there is none.
std::size_t FilterStart(std::string_view expression)
{
    bool inList = false;
    for (std::size_t i = 0; i < expression.size(); ++i) {
        const char c = expression[i];
        if (c == '\\') {
            ++i;
        } else if (c == '[' || c == ']') {
            inList = c == '[';
        } else if (c == '{' && !inList) {
            return i;
        }
    }
    return expression.size();
}

}  // namespace

std::optional<ResourceExpression> ResourceExpression::Parse(std::string_view expression)
{
    const std::size_t brace = FilterStart(expression);
    const std::string_view filterText = ArgumentParser::Trim(expression.substr(brace));
    // Blanks may set the braces apart from the resource part, as in "?*INSTR {...}".
    const std::string_view patternText =
        filterText.empty() ? expression : ArgumentParser::Trim(expression.substr(0, brace));
    auto pattern = ResourcePattern::Parse(patternText);
    if (!pattern || (!filterText.empty() && !filterText.ends_with('}'))) {
        return std::nullopt;
    }
    if (filterText.empty()) {
        return ResourceExpression(std::move(*pattern), std::nullopt);
    }
    auto filter = AttributeFilter::Parse(filterText.substr(1, filterText.size() - 2));
    if (!filter) {
        return std::nullopt;
    }
    return ResourceExpression(std::move(*pattern), std::move(filter));
}

bool ResourceExpression::Matches(std::string_view resource, const AttributeFilter::Lookup& lookup) const
{
    return pattern_.Matches(resource) && (!filter_ || filter_->Matches(lookup));
}

}  // namespace stratigon::sim
