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
                                   UINT* argumentError)
{
    if (parameters.cNamedArgs != 0)
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
    result = ::VariantChangeType(&copy.get(), &copy.get(), 0, type == ParameterType::Long ? VT_I4 : VT_BSTR);
    if (FAILED(result))
        return result;
    if (type == ParameterType::Long)
        value.number = V_I4(&copy.get());
    else
        value.text = win32::AnsiFromBstr(V_BSTR(&copy.get()));
    return S_OK;
}

}  // namespace stratigon::app
