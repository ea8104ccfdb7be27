// The arguments of one late-bound call, converted to the types the method declares with the
// platform's standard coercion. A missing, surplus, named or unconvertible argument is refused
// with the standard dispatch error before any method code runs.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <span>
#include <string>
#include <vector>

namespace stratigon::app {

enum class ParameterType { Long, Text };

class DispatchArguments {
public:
    // S_OK, or the dispatch error; for an argument that cannot be converted, `argumentError`
    // (when given) receives its index in rgvarg, as the caller counts them.
    HRESULT Convert(const DISPPARAMS& parameters, std::span<const ParameterType> types, UINT* argumentError);

    // By position, the first argument at 0.
    LONG Long(std::size_t position) const { return m_values.at(position).number; }
    const std::string& Text(std::size_t position) const { return m_values.at(position).text; }

private:
    struct Value {
        LONG number = 0;
        std::string text;
    };
    static HRESULT ConvertOne(const VARIANT& argument, ParameterType type, Value& value);

    std::vector<Value> m_values;
};

}  // namespace stratigon::app
