// Walks a module collection for For Each (VBScript, VBA), Enumerator (JScript) and iteration
// in Python: each item a module object, in the collection's order.
#pragma once

#include <oaidl.h>

#include <span>

#include "app/CStratigonModules.h"
#include "win32/ComObject.h"
#include "win32/ComPtr.h"

namespace stratigon::app {

class CModuleEnumerator final : public win32::ComObject<CModuleEnumerator, IEnumVARIANT> {
public:
    // The enumerator keeps the collection while it lives; it starts at item `position`.
    static win32::ComPtr<IUnknown> Create(win32::ComPtr<CStratigonModules> modules, std::size_t position);

    static std::span<const Entry> Interfaces();

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) noexcept override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override;
    HRESULT STDMETHODCALLTYPE Reset() noexcept override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) noexcept override;

private:
    CModuleEnumerator(win32::ComPtr<CStratigonModules> modules, std::size_t position)
        : m_modules(std::move(modules)), m_position(position)
    {
    }

    win32::ComPtr<CStratigonModules> m_modules;
    std::size_t m_position;
};

}  // namespace stratigon::app
