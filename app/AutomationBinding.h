// How one C++ step of an automation object meets both kinds of caller: its parameter types
// become the types late-bound arguments are converted to, and its result becomes either a
// VARIANT (late binding) or the dual interface's out parameter. A step is a member function
// that takes LONG, bool, std::string or ItemIndex arguments and returns nothing, LONG, bool,
// a text, a list of texts or an interface; it raises CAutomationException when it fails.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <array>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/DispatchArguments.h"
#include "win32/AnsiText.h"
#include "win32/ComPtr.h"
#include "win32/UniqueVariant.h"
#include "win32/VariantValues.h"

namespace stratigon::app {

using TextList = std::vector<std::string>;

template <class T>
struct ParameterTypeOf;
template <>
struct ParameterTypeOf<LONG> {
    static constexpr ParameterType value = ParameterType::Long;
};
template <>
struct ParameterTypeOf<bool> {
    static constexpr ParameterType value = ParameterType::Bool;
};
template <>
struct ParameterTypeOf<std::string> {
    static constexpr ParameterType value = ParameterType::Text;
};
template <>
struct ParameterTypeOf<ItemIndex> {
    static constexpr ParameterType value = ParameterType::Index;
};

template <class T>
T ArgumentAt(const DispatchArguments& arguments, std::size_t position)
{
    if constexpr (std::is_same_v<T, LONG>)
        return arguments.Long(position);
    else if constexpr (std::is_same_v<T, bool>)
        return arguments.Bool(position);
    else if constexpr (std::is_same_v<T, std::string>)
        return arguments.Text(position);
    else
        return arguments.Index(position);
}

// A step's result as the VARIANT a late-bound caller receives.
inline void PutResult(LONG value, win32::UniqueVariant& result) { win32::SetLong(result, value); }
inline void PutResult(bool value, win32::UniqueVariant& result) { win32::SetBool(result, value); }
inline void PutResult(const std::string& value, win32::UniqueVariant& result) { win32::SetText(result, value); }
inline void PutResult(const TextList& value, win32::UniqueVariant& result) { win32::SetTextArray(result, value); }
template <class Interface>
void PutResult(const win32::ComPtr<Interface>& value, win32::UniqueVariant& result)
{
    if constexpr (std::is_base_of_v<IDispatch, Interface>)
        win32::SetObject(result, value.get());
    else
        win32::SetUnknown(result, value.get());
}

// A step's result in a dual interface's out parameter, which is cleared first.
inline void ClearOut(LONG* out) { *out = 0; }
inline void ClearOut(VARIANT_BOOL* out) { *out = VARIANT_FALSE; }
inline void ClearOut(BSTR* out) { *out = nullptr; }
inline void ClearOut(VARIANT* out) { ::VariantInit(out); }
template <class Interface>
void ClearOut(Interface** out)
{
    *out = nullptr;
}
inline void StoreOut(LONG value, LONG* out) { *out = value; }
inline void StoreOut(bool value, VARIANT_BOOL* out) { *out = value ? VARIANT_TRUE : VARIANT_FALSE; }
inline void StoreOut(const std::string& value, BSTR* out) { *out = win32::BstrFromAnsi(value).release(); }
inline void StoreOut(const TextList& value, VARIANT* out)
{
    win32::UniqueVariant result;
    win32::SetTextArray(result, value);
    result.Detach(out);
}
template <class Interface>
void StoreOut(win32::ComPtr<Interface> value, Interface** out)
{
    *out = value.release();
}

// The parameter types and the late-bound runner of a step.
template <class Object, class Result, class... Arguments>
struct StepBinding {
    static constexpr std::array<ParameterType, sizeof...(Arguments)> kParameters{
        ParameterTypeOf<std::decay_t<Arguments>>::value...};

    template <auto Step>
    static void Run(Object& object, const DispatchArguments& arguments, win32::UniqueVariant& result)
    {
        [&]<std::size_t... Position>(std::index_sequence<Position...>) {
            if constexpr (std::is_void_v<Result>)
                (object.*Step)(ArgumentAt<std::decay_t<Arguments>>(arguments, Position)...);
            else
                PutResult((object.*Step)(ArgumentAt<std::decay_t<Arguments>>(arguments, Position)...), result);
        }(std::index_sequence_for<Arguments...>{});
    }
};

template <class Step>
struct StepTraits;
template <class Object, class Result, class... Arguments>
struct StepTraits<Result (Object::*)(Arguments...)> : StepBinding<Object, Result, Arguments...> {};
template <class Object, class Result, class... Arguments>
struct StepTraits<Result (Object::*)(Arguments...) const> : StepBinding<Object, Result, Arguments...> {};

}  // namespace stratigon::app
