#include "simulator/ResourceName.h"

#include "simulator/VisaAttributes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

namespace stratigon::sim {
namespace {

struct Interface {
    std::string_view keyword;
    ViUInt16 type;
};

// The interfaces a VXI bench is reached through; names on the others are resource strings
// too, of resources no simulated bench has.
constexpr Interface kInterfaces[] = {{"GPIB-VXI", VI_INTF_GPIB_VXI}, {"VXI", VI_INTF_VXI}};
constexpr std::string_view kOtherInterfaces[] = {"GPIB", "ASRL", "TCPIP", "USB", "PXI", "FIREWIRE"};
constexpr int kLargestLogicalAddress = 255;

// The keyword, followed by a board number, "::" or nothing: "VXIX" is no VXI name.
bool BeginsWithKeyword(std::string_view text, std::string_view keyword)
{
    if (text.size() < keyword.size() || !ResourceName::SameText(text.substr(0, keyword.size()), keyword)) {
        return false;
    }
    const std::string_view rest = text.substr(keyword.size());
    return rest.empty() || std::isdigit(static_cast<unsigned char>(rest.front())) || rest.starts_with("::");
}

// Decimal digits only: no sign, no blanks.
std::optional<int> Number(std::string_view text, int largest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos || error != std::errc() ||
        value > largest) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> Split(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (auto separator = text.find("::"); separator != std::string_view::npos; separator = text.find("::")) {
        parts.push_back(text.substr(0, separator));
        text.remove_prefix(separator + 2);
    }
    parts.push_back(text);
    return parts;
}

// What may follow the board: "24", "24::INSTR", "[0::]BACKPLANE", "MEMACC", "SERVANT".
enum class Address { Required, Optional, None };
struct Form {
    std::string_view rsrcClass;
    Address address;
    bool vxiOnly;
};
constexpr Form kForms[] = {
    {"INSTR", Address::Required, false},
    {"BACKPLANE", Address::Optional, false},
    {"MEMACC", Address::None, false},
    {"SERVANT", Address::None, true},
};

// The class and the canonical text after the board ("24::INSTR"), or nothing.
std::optional<std::pair<std::string_view, std::string>> ReadTail(std::string_view tail, bool vxi)
{
    const std::vector<std::string_view> parts = Split(tail);
    const auto address = Number(parts.front(), kLargestLogicalAddress);
    if (parts.size() > 2 || (parts.size() == 2 && !address)) {
        return std::nullopt;
    }
    const std::string_view word = parts.size() == 1 && address ? "INSTR" : parts.back();
    const auto form = std::find_if(std::begin(kForms), std::end(kForms),
                                   [word](const Form& f) { return ResourceName::SameText(f.rsrcClass, word); });
    const bool addressed = parts.size() == 2 || address;
    if (form == std::end(kForms) || (form->vxiOnly && !vxi) || (form->address == Address::Required && !addressed) ||
        (form->address == Address::None && addressed)) {
        return std::nullopt;
    }
    if (form->address == Address::None) {
        return std::pair(form->rsrcClass, std::string(form->rsrcClass));
    }
    return std::pair(form->rsrcClass, std::to_string(address.value_or(0)) + "::" + std::string(form->rsrcClass));
}

}  // namespace

ViStatus ResourceName::Parse(std::string_view text, ResourceName& name)
{
    const auto found = std::find_if(std::begin(kInterfaces), std::end(kInterfaces),
                                    [text](const Interface& i) { return BeginsWithKeyword(text, i.keyword); });
    if (found == std::end(kInterfaces)) {
        const bool other = std::any_of(std::begin(kOtherInterfaces), std::end(kOtherInterfaces),
                                       [text](std::string_view keyword) { return BeginsWithKeyword(text, keyword); });
        return other ? VI_ERROR_RSRC_NFOUND : VI_ERROR_INV_RSRC_NAME;
    }
    std::string_view rest = text.substr(found->keyword.size());
    const std::size_t digits = std::min(rest.find_first_not_of("0123456789"), rest.size());
    const auto board = digits == 0 ? std::optional<int>(0) : Number(rest.substr(0, digits), 0xFFFF);
    rest.remove_prefix(digits);
    const auto tail = rest.starts_with("::") ? ReadTail(rest.substr(2), found->type == VI_INTF_VXI) : std::nullopt;
    if (!board || !tail) {
        return VI_ERROR_INV_RSRC_NAME;
    }
    name.interfaceType = found->type;
    name.board = static_cast<ViUInt16>(*board);
    name.resourceClass = tail->first;
    name.canonical = std::string(found->keyword) + std::to_string(*board) + "::" + tail->second;
    return VI_SUCCESS;
}

bool ResourceName::SameText(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

ResourceName ResourceName::Of(const ModuleDescription& module)
{
    ResourceName name{VI_INTF_VXI, static_cast<ViUInt16>(module.interfaceNumber), "INSTR", module.resource};
    Parse(module.resource, name);
    return name;
}

}  // namespace stratigon::sim
