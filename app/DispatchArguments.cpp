#include "app/DispatchArguments.h"

#include "win32/AnsiText.h"
#include "win32/UniqueVariant.h"

namespace stratigon::app {

namespace {

// Scripts leave out an argument by passing this error value.
bool IsOmitted(const VARIANT& argument)
{
    return V_VT(&argument) == VT_ERROR && V_ERROR(&argument) == DISP_E_PARAMNOTFOUND;
}

}  // namespace

HRESULT DispatchArguments::Convert(const DISPPARAMS& parameters, std::span<const ParameterType> types,
                                   UINT* argumentError, bool assignment)
{
    const bool namedValue = parameters.cNamedArgs == 1 && parameters.rgdispidNamedArgs != nullptr &&
                            parameters.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
    if (assignment ? !namedValue : parameters.cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    if (parameters.cArgs > types.size())
        return DISP_E_BADPARAMCOUNT;
    if (parameters.cArgs < types.size() || (parameters.cArgs != 0 && parameters.rgvarg == nullptr))
        return DISP_E_PARAMNOTOPTIONAL;
    m_values.assign(types.size(), Value{});
    for (std::size_t position = 0; position < types.size(); ++position) {
        // rgvarg holds the arguments from the last to the first.
        const UINT index = parameters.cArgs - 1 - static_cast<UINT>(position);
        const HRESULT converted = ConvertOne(parameters.rgvarg[index], types[position], m_values[position]);
        if (FAILED(converted)) {
            if (argumentError != nullptr && converted != DISP_E_PARAMNOTOPTIONAL)
                *argumentError = index;
            return converted;
        }
    }
    return S_OK;
}

HRESULT DispatchArguments::ConvertOne(const VARIANT& argument, ParameterType type, Value& value)
{
    win32::UniqueVariant copy;
    HRESULT result = ::VariantCopyInd(copy.put(), const_cast<VARIANT*>(&argument));
    if (FAILED(result))
        return result;
    if (IsOmitted(copy.get()))
        return DISP_E_PARAMNOTOPTIONAL;
    value.isText = type == ParameterType::Text || (type == ParameterType::Index && V_VT(&copy.get()) == VT_BSTR);
    const VARTYPE wanted = value.isText ? VT_BSTR : type == ParameterType::Bool ? VT_BOOL : VT_I4;
    result = ::VariantChangeType(&copy.get(), &copy.get(), 0, wanted);
    if (FAILED(result))
        return result;
    if (value.isText)
        value.text = win32::AnsiFromBstr(V_BSTR(&copy.get()));
    else if (wanted == VT_BOOL)
        value.number = V_BOOL(&copy.get()) != VARIANT_FALSE ? 1 : 0;
    else
        value.number = V_I4(&copy.get());
    return S_OK;
}

ItemIndex DispatchArguments::Index(std::size_t position) const { return IndexOf(m_values.at(position)); }

ItemIndex DispatchArguments::IndexOf(const Value& value)
{
    return value.isText ? ItemIndex{std::nullopt, value.text} : ItemIndex{value.number, {}};
}

HRESULT DispatchArguments::ToIndex(const VARIANT& argument, ItemIndex& index)
{
    Value value;
    const HRESULT converted = ConvertOne(argument, ParameterType::Index, value);
    if (SUCCEEDED(converted))
        index = IndexOf(value);
    return converted;
}

}  // namespace stratigon::app
