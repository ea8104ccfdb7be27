#include "simulator/AttributeTable.h"

#include "simulator/ResourceName.h"
#include "simulator/VisaStatus.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace stratigon::sim {
namespace {

using Source = AttributeTable::Source;
using Value = AttributeTable::Value;
using Type = AttributeTable::Type;
constexpr unsigned kManager = AttributeTable::Manager;
constexpr unsigned kSession = AttributeTable::Session;
constexpr unsigned kSearch = AttributeTable::Search;

// Versions read major.minor.sub-minor from the top: 12, 12 and 8 bits.
constexpr ViVersion kImplementationVersion = 0x00100000;  // 1.0.0, the version of this library
constexpr ViVersion kBindingVersion = 0x00500000;         // 5.0.0, the VISA C binding it follows
constexpr std::string_view kManufacturer = "KVX Stratigon simulated VXI bench";

template <class T>
void Store(void* destination, T value)
{
    std::memcpy(destination, &value, sizeof value);
}

ViStatus SetTimeout(SessionSettings& settings, ViAttrState value)
{
    if (value > 0xFFFFFFFFU) {
        return VI_ERROR_NSUP_ATTR_STATE;
    }
    settings.timeoutMs = static_cast<ViUInt32>(value);
    return VI_SUCCESS;
}

ViStatus SetTermChar(SessionSettings& settings, ViAttrState value)
{
    if (value > 0xFFU) {
        return VI_ERROR_NSUP_ATTR_STATE;
    }
    settings.termChar = static_cast<unsigned char>(value);
    return VI_SUCCESS;
}

template <bool SessionSettings::*Flag>
ViStatus SetFlag(SessionSettings& settings, ViAttrState value)
{
    if (value != VI_TRUE && value != VI_FALSE) {
        return VI_ERROR_NSUP_ATTR_STATE;
    }
    settings.*Flag = value == VI_TRUE;
    return VI_SUCCESS;
}

const AttributeTable::Row kRows[] = {
    {VI_ATTR_RSRC_NAME, "VI_ATTR_RSRC_NAME", Type::Text, kSession | kSearch,
     [](const Source& s) { return Value(s.module->resource); }, nullptr},
    {VI_ATTR_RSRC_CLASS, "VI_ATTR_RSRC_CLASS", Type::Text, kSession | kSearch,
     [](const Source& s) { return Value(ResourceName::Of(*s.module).resourceClass); }, nullptr},
    {VI_ATTR_INTF_TYPE, "VI_ATTR_INTF_TYPE", Type::UInt16, kSession | kSearch,
     [](const Source& s) { return Value(std::int64_t{ResourceName::Of(*s.module).interfaceType}); }, nullptr},
    {VI_ATTR_INTF_NUM, "VI_ATTR_INTF_NUM", Type::UInt16, kSession | kSearch,
     [](const Source& s) { return Value(std::int64_t{s.module->interfaceNumber}); }, nullptr},
    {VI_ATTR_VXI_LA, "VI_ATTR_VXI_LA", Type::Int16, kSession | kSearch,
     [](const Source& s) { return Value(std::int64_t{s.module->logicalAddress}); }, nullptr},
    {VI_ATTR_SLOT, "VI_ATTR_SLOT", Type::Int16, kSession | kSearch,
     [](const Source& s) { return Value(std::int64_t{s.module->slot}); }, nullptr},
    {VI_ATTR_MODEL_CODE, "VI_ATTR_MODEL_CODE", Type::UInt16, kSession | kSearch,
     [](const Source& s) { return Value(std::int64_t{s.module->modelCode}); }, nullptr},
    {VI_ATTR_RSRC_LOCK_STATE, "VI_ATTR_RSRC_LOCK_STATE", Type::UInt32, kManager | kSession | kSearch,
     [](const Source& s) { return Value(std::int64_t{s.lockState}); }, nullptr},
    {VI_ATTR_RSRC_MANF_NAME, "VI_ATTR_RSRC_MANF_NAME", Type::Text, kManager | kSession | kSearch,
     [](const Source&) { return Value(std::string(kManufacturer)); }, nullptr},
    {VI_ATTR_RSRC_IMPL_VERSION, "VI_ATTR_RSRC_IMPL_VERSION", Type::UInt32, kManager | kSession | kSearch,
     [](const Source&) { return Value(std::int64_t{kImplementationVersion}); }, nullptr},
    {VI_ATTR_RSRC_SPEC_VERSION, "VI_ATTR_RSRC_SPEC_VERSION", Type::UInt32, kManager | kSession | kSearch,
     [](const Source&) { return Value(std::int64_t{kBindingVersion}); }, nullptr},
    {VI_ATTR_RM_SESSION, "VI_ATTR_RM_SESSION", Type::UInt32, kSession,
     [](const Source& s) { return Value(std::int64_t{s.resourceManager}); }, nullptr},
    {VI_ATTR_TMO_VALUE, "VI_ATTR_TMO_VALUE", Type::UInt32, kSession,
     [](const Source& s) { return Value(std::int64_t{s.settings->timeoutMs}); }, &SetTimeout},
    {VI_ATTR_TERMCHAR, "VI_ATTR_TERMCHAR", Type::UInt8, kSession,
     [](const Source& s) { return Value(std::int64_t{s.settings->termChar}); }, &SetTermChar},
    {VI_ATTR_TERMCHAR_EN, "VI_ATTR_TERMCHAR_EN", Type::Boolean, kSession,
     [](const Source& s) { return Value(std::int64_t{s.settings->termCharEnabled}); },
     &SetFlag<&SessionSettings::termCharEnabled>},
    {VI_ATTR_SEND_END_EN, "VI_ATTR_SEND_END_EN", Type::Boolean, kSession,
     [](const Source& s) { return Value(std::int64_t{s.settings->sendEnd}); }, &SetFlag<&SessionSettings::sendEnd>},
};

}  // namespace

const AttributeTable::Row* AttributeTable::Find(ViAttr id)
{
    const auto found = std::find_if(std::begin(kRows), std::end(kRows), [id](const Row& row) { return row.id == id; });
    return found == std::end(kRows) ? nullptr : found;
}

const AttributeTable::Row* AttributeTable::Find(std::string_view name)
{
    const auto found =
        std::find_if(std::begin(kRows), std::end(kRows), [name](const Row& row) { return row.name == name; });
    return found == std::end(kRows) ? nullptr : found;
}

void AttributeTable::StoreNumber(Type type, std::int64_t value, void* destination)
{
    switch (type) {
    case Type::UInt8:
        Store(destination, static_cast<std::uint8_t>(value));
        break;
    case Type::Int16:
        Store(destination, static_cast<ViInt16>(value));
        break;
    case Type::UInt16:
    case Type::Boolean:
        Store(destination, static_cast<ViUInt16>(value));
        break;
    case Type::UInt32:
        Store(destination, static_cast<ViUInt32>(value));
        break;
    case Type::Text:
        break;
    }
}

}  // namespace stratigon::sim
