#include "app/CModuleEnumerator.h"

#include <new>

namespace stratigon::app {

win32::ComPtr<IUnknown> CModuleEnumerator::Create(win32::ComPtr<CStratigonModules> modules, std::size_t position)
{
    win32::ComPtr<IUnknown> enumerator;
    enumerator.attach(static_cast<IEnumVARIANT*>(new CModuleEnumerator(std::move(modules), position)));
    return enumerator;
}

std::span<const CModuleEnumerator::Entry> CModuleEnumerator::Interfaces()
{
    static const Entry table[] = {
        As<IEnumVARIANT>(IID_IUnknown),
        As<IEnumVARIANT>(IID_IEnumVARIANT),
    };
    return table;
}

HRESULT CModuleEnumerator::Next(ULONG count, VARIANT* items, ULONG* fetched) noexcept
{
    if (fetched != nullptr)
        *fetched = 0;
    if (items == nullptr && count > 0)
        return E_POINTER;
    const auto& modules = m_modules->Items();
    ULONG given = 0;
    for (; given < count && m_position < modules.size(); ++given, ++m_position) {
        ::VariantInit(&items[given]);
        IStratigonModule* module = modules[m_position].get();
        module->AddRef();
        V_VT(&items[given]) = VT_DISPATCH;
        V_DISPATCH(&items[given]) = module;
    }
    if (fetched != nullptr)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT CModuleEnumerator::Skip(ULONG count) noexcept
{
    const std::size_t left = m_modules->Items().size() - m_position;
    m_position += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
}

HRESULT CModuleEnumerator::Reset() noexcept
{
    m_position = 0;
    return S_OK;
}

HRESULT CModuleEnumerator::Clone(IEnumVARIANT** copy) noexcept
{
    if (copy == nullptr)
        return E_POINTER;
    *copy = nullptr;
    auto* clone = new (std::nothrow) CModuleEnumerator(m_modules, m_position);
    if (clone == nullptr)
        return E_OUTOFMEMORY;
    *copy = clone;
    return S_OK;
}

}  // namespace stratigon::app
