// The arguments of one late-bound call, converted to the types the member declares with the
// platform's standard coercion. A missing, surplus, named or unconvertible argument is refused
// with the standard dispatch error before any member code runs.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace stratigon::app {

// Index: what a collection's Item takes, a number or a name (a text stays a text).
enum class ParameterType { Long, Text, Bool, Index };

struct ItemIndex {
    std::optional<LONG> number;  // set when a number was given
    std::string name;            // otherwise the text given
};

class DispatchArguments {
public:
    // S_OK, or the dispatch error; for an argument that cannot be converted, `argumentError`
    // (when given) receives its index in rgvarg, as the caller counts them. An assignment takes
    // its value as the one named argument DISPID_PROPERTYPUT, as the platform passes it.
    HRESULT Convert(const DISPPARAMS& parameters, std::span<const ParameterType> types, UINT* argumentError,
                    bool assignment = false);

    // By position, the first argument at 0.
    LONG Long(std::size_t position) const { return m_values.at(position).number; }
    const std::string& Text(std::size_t position) const { return m_values.at(position).text; }
    bool Bool(std::size_t position) const { return m_values.at(position).number != 0; }
    ItemIndex Index(std::size_t position) const;

    // One index given to a dual interface, converted as a late-bound one is.
    static HRESULT ToIndex(const VARIANT& argument, ItemIndex& index);

private:
    struct Value {
        LONG number = 0;
        std::string text;
        bool isText = false;
    };
    static HRESULT ConvertOne(const VARIANT& argument, ParameterType type, Value& value);
    static ItemIndex IndexOf(const Value& value);

    std::vector<Value> m_values;
};

}  // namespace stratigon::app
