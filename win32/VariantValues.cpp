#include "win32/VariantValues.h"

#include <new>

#include "win32/AnsiText.h"

namespace stratigon::win32 {

void SetLong(UniqueVariant& target, LONG value)
{
    VARIANT* variant = target.put();
    V_VT(variant) = VT_I4;
    V_I4(variant) = value;
}

void SetBool(UniqueVariant& target, bool value)
{
    VARIANT* variant = target.put();
    V_VT(variant) = VT_BOOL;
    V_BOOL(variant) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetText(UniqueVariant& target, const std::string& text)
{
    UniqueBstr value = BstrFromAnsi(text);
    VARIANT* variant = target.put();
    V_VT(variant) = VT_BSTR;
    V_BSTR(variant) = value.release();
}

void SetObject(UniqueVariant& target, IDispatch* object)
{
    VARIANT* variant = target.put();
    if (object != nullptr)
        object->AddRef();
    V_VT(variant) = VT_DISPATCH;
    V_DISPATCH(variant) = object;
}

void SetUnknown(UniqueVariant& target, IUnknown* object)
{
    VARIANT* variant = target.put();
    if (object != nullptr)
        object->AddRef();
    V_VT(variant) = VT_UNKNOWN;
    V_UNKNOWN(variant) = object;
}

void SetTextArray(UniqueVariant& target, const std::vector<std::string>& texts)
{
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(texts.size()));
    if (array == nullptr)
        throw std::bad_alloc();
    // The array belongs to a VARIANT at once, so it goes with it on every path out; the
    // target takes it only once it is whole.
    UniqueVariant built;
    V_VT(built.put()) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&built.get()) = array;
    for (LONG index = 0; index < static_cast<LONG>(texts.size()); ++index) {
        UniqueVariant element;
        SetText(element, texts[static_cast<std::size_t>(index)]);
        if (FAILED(::SafeArrayPutElement(array, &index, &element.get())))
            throw std::bad_alloc();
    }
    built.Detach(target.put());
}

}  // namespace stratigon::win32
