// The search expression of viFindRsrc: a regular expression over resource names
// ("VXI[0-2]::?*::INSTR") and, in braces after it, an optional expression over the attributes
// of the resources it matches ("{VI_ATTR_SLOT > 2}").
#pragma once

#include "simulator/AttributeFilter.h"
#include "simulator/ResourcePattern.h"

#include <optional>
#include <string_view>

namespace stratigon::sim {

class ResourceExpression {
public:
    // Nothing when either part is malformed, or anything but blanks follows the braces.
    static std::optional<ResourceExpression> Parse(std::string_view expression);
    bool Matches(std::string_view resource, const AttributeFilter::Lookup& lookup) const;

private:
    ResourceExpression(ResourcePattern pattern, std::optional<AttributeFilter> filter)
        : pattern_(std::move(pattern)), filter_(std::move(filter))
    {
    }

    ResourcePattern pattern_;
    std::optional<AttributeFilter> filter_;
};

}  // namespace stratigon::sim
