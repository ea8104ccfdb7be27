// The owner of one VARIANT: initialised empty, cleared when it goes or is filled again, and
// handed to a caller whole with Detach.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace stratigon::win32 {

class UniqueVariant {
public:
    UniqueVariant() { ::VariantInit(&m_value); }
    ~UniqueVariant() { ::VariantClear(&m_value); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT& get() { return m_value; }
    const VARIANT& get() const { return m_value; }
    // Empties the value first, for functions that fill a VARIANT.
    VARIANT* put()
    {
        ::VariantClear(&m_value);
        return &m_value;
    }
    // Moves the value into `target` (which must hold nothing that needs clearing) and leaves
    // this one empty.
    void Detach(VARIANT* target)
    {
        *target = m_value;
        ::VariantInit(&m_value);
    }

private:
    VARIANT m_value;
};

}  // namespace stratigon::win32
