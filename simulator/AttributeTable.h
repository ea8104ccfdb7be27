// The attributes the simulated library knows: their ids and names, types, the objects that
// have them, how they are read, and how the settable ones change a session's settings.
#pragma once

#include "instrument/VisaTypes.h"
#include "simulator/ModuleDescription.h"
#include "simulator/SessionSettings.h"
#include "simulator/VisaAttributes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace stratigon::sim {

class AttributeTable {
public:
    enum class Type { UInt8, Int16, UInt16, Boolean, UInt32, Text };
    using Value = std::variant<std::int64_t, std::string>;

    // Which objects have an attribute. Searches see only the attributes of the resource itself,
    // not those of one session on it.
    enum Holder : unsigned { Manager = 1U, Session = 2U, Search = 4U };

    // What a value is read from: module null for the resource manager, settings null in a search.
    struct Source {
        const ModuleDescription* module = nullptr;
        const SessionSettings* settings = nullptr;
        ViSession resourceManager = VI_NULL;
        ViAccessMode lockState = VI_NO_LOCK;
    };

    struct Row {
        ViAttr id;
        std::string_view name;
        Type type;
        unsigned holders;
        Value (*read)(const Source& source);
        // Null for an attribute nobody may set.
        ViStatus (*write)(SessionSettings& settings, ViAttrState value);
    };

    static const Row* Find(ViAttr id);
    static const Row* Find(std::string_view name);
    // Writes a number in the attribute's own width: a ViInt16 attribute fills two bytes.
    static void StoreNumber(Type type, std::int64_t value, void* destination);
};

}  // namespace stratigon::sim
