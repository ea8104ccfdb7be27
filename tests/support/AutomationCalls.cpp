#include "support/AutomationCalls.h"

#include <algorithm>

namespace stratigon::test {

namespace {

std::wstring Widen(const std::string& text)
{
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
    return wide.c_str();
}

void TakeResult(const VARIANT& result, LateCall& call)
{
    if (V_VT(&result) == (VT_ARRAY | VT_VARIANT)) {
        LONG first = 0, last = -1;
        ::SafeArrayGetLBound(V_ARRAY(&result), 1, &first);
        ::SafeArrayGetUBound(V_ARRAY(&result), 1, &last);
        for (LONG index = first; index <= last; ++index) {
            VARIANT element;
            ::VariantInit(&element);
            ::SafeArrayGetElement(V_ARRAY(&result), &index, &element);
            call.texts.push_back(V_VT(&element) == VT_BSTR ? Narrow(V_BSTR(&element)) : "(not a text)");
            ::VariantClear(&element);
        }
    } else if (V_VT(&result) == VT_DISPATCH || V_VT(&result) == VT_UNKNOWN) {
        call.object = win32::ComPtr<IUnknown>(V_UNKNOWN(&result));
    } else if (V_VT(&result) != VT_EMPTY) {
        VARIANT text;
        ::VariantInit(&text);
        if (SUCCEEDED(::VariantChangeType(&text, const_cast<VARIANT*>(&result), 0, VT_BSTR)))
            call.value = Narrow(V_BSTR(&text));
        ::VariantClear(&text);
    }
}

}  // namespace

VARIANT Text(const wchar_t* text)
{
    VARIANT value;
    ::VariantInit(&value);
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = text == nullptr ? nullptr : ::SysAllocString(text);
    return value;
}

VARIANT Text(const char* text) { return text == nullptr ? Text(static_cast<const wchar_t*>(nullptr)) : Text(Widen(text).c_str()); }

VARIANT Number(VARTYPE type, double number)
{
    VARIANT value;
    ::VariantInit(&value);
    V_VT(&value) = VT_R8;
    V_R8(&value) = number;
    ::VariantChangeType(&value, &value, 0, type);
    return value;
}

VARIANT Special(VARTYPE type)
{
    VARIANT value;
    ::VariantInit(&value);
    V_VT(&value) = type;
    V_ERROR(&value) = DISP_E_PARAMNOTFOUND;
    return value;
}

std::string Narrow(BSTR text)
{
    const int length = static_cast<int>(::SysStringLen(text));
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

Bstr::Bstr(const std::string& text) : value(::SysAllocString(Widen(text).c_str())) {}

LateCall Invoke(IDispatch* object, DISPID id, std::vector<VARIANT> arguments, WORD flags)
{
    std::reverse(arguments.begin(), arguments.end());
    DISPID named = DISPID_PROPERTYPUT;
    const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    DISPPARAMS parameters{arguments.data(), put ? &named : nullptr, static_cast<UINT>(arguments.size()), put ? 1u : 0u};
    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO exception{};
    LateCall call;
    call.result = object->Invoke(id, IID_NULL, 0, flags, &parameters, &result, &exception, &call.argumentError);
    TakeResult(result, call);
    call.code = exception.wCode;
    call.status = exception.scode;
    call.description = Narrow(exception.bstrDescription);
    call.source = Narrow(exception.bstrSource);
    call.helpFile = Narrow(exception.bstrHelpFile);
    call.helpContext = exception.dwHelpContext;
    for (BSTR text : {exception.bstrDescription, exception.bstrSource, exception.bstrHelpFile})
        ::SysFreeString(text);
    ::VariantClear(&result);
    for (VARIANT& argument : arguments)
        ::VariantClear(&argument);
    return call;
}

LateCall Call(IDispatch* object, const wchar_t* name, std::vector<VARIANT> arguments, WORD flags)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    if (const HRESULT found = object->GetIDsOfNames(IID_NULL, names, 1, 0, &id); FAILED(found)) {
        for (VARIANT& argument : arguments)
            ::VariantClear(&argument);
        LateCall call;
        call.result = found;
        return call;
    }
    return Invoke(object, id, std::move(arguments), flags);
}

}  // namespace stratigon::test
