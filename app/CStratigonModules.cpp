#include "app/CStratigonModules.h"

#include "app/CAutomationException.h"
#include "app/CModuleEnumerator.h"
#include "app/CStratigonDlgAutoProxy.h"
#include "catalogue/AutomationResult.h"
#include "catalogue/CatalogueText.h"
#include "catalogue/ModuleLookup.h"

namespace stratigon::app {

win32::ComPtr<IStratigonModules> CStratigonModules::Create(CStratigonDlgAutoProxy& proxy,
                                                           std::vector<ModuleReading> readings)
{
    win32::ComPtr<IStratigonModules> modules;
    modules.attach(new CStratigonModules(proxy, std::move(readings)));
    return modules;
}

CStratigonModules::CStratigonModules(CStratigonDlgAutoProxy& proxy, std::vector<ModuleReading> readings)
    : CAutomationObject(proxy.Alerts())
{
    m_modules.reserve(readings.size());
    for (ModuleReading& reading : readings)
        m_modules.push_back(CStratigonModule::Create(proxy, std::move(reading)));
}

std::span<const CStratigonModules::Entry> CStratigonModules::Interfaces()
{
    static const Entry table[] = {
        As<IStratigonModules>(IID_IUnknown),
        As<IStratigonModules>(IID_IDispatch),
        As<IStratigonModules>(IID_IStratigonModules),
        As<ISupportErrorInfo>(IID_ISupportErrorInfo),
    };
    return table;
}

std::span<const CStratigonModules::Member> CStratigonModules::Members()
{
    using Self = CStratigonModules;
    static const Member table[] = {
        Bind<&Self::Count>(1, L"Count", DISPATCH_PROPERTYGET, kNoCall),
        Bind<&Self::Item>(DISPID_VALUE, L"Item", DISPATCH_PROPERTYGET, kNoCall),
        Bind<&Self::NewEnum>(DISPID_NEWENUM, L"_NewEnum", DISPATCH_PROPERTYGET, kNoCall),
    };
    return table;
}

HRESULT CStratigonModules::get_Count(LONG* count) noexcept
{
    return RunDualGet(IID_IStratigonModules, kNoCall, count, [&] { return Count(); });
}

HRESULT CStratigonModules::get_Item(VARIANT index, IStratigonModule** module) noexcept
{
    if (module == nullptr)
        return E_POINTER;
    *module = nullptr;
    ItemIndex converted;
    if (const HRESULT result = DispatchArguments::ToIndex(index, converted); FAILED(result))
        return result;
    return RunDualGet(IID_IStratigonModules, kNoCall, module, [&] { return Item(converted); });
}

HRESULT CStratigonModules::get__NewEnum(IUnknown** enumerator) noexcept
{
    return RunDualGet(IID_IStratigonModules, kNoCall, enumerator, [&] { return NewEnum(); });
}

win32::ComPtr<IStratigonModule> CStratigonModules::Item(const ItemIndex& index)
{
    const CStratigonModule* found = nullptr;
    if (index.number) {
        if (*index.number < 1 || *index.number > Count())
            throw CPlatformFailure(DISP_E_BADINDEX, "There is no module with that number.");
        found = m_modules[static_cast<std::size_t>(*index.number - 1)].get();
    } else {
        found = FindByName(index.name);
    }
    if (found == nullptr)
        RaiseAutomationError(LooksLikeUniqueId(index.name) ? AutomationResult::UniqueIdNotFound
                                                           : AutomationResult::SerialNotFound);
    return win32::ComPtr<IStratigonModule>(const_cast<CStratigonModule*>(found));
}

// A unique ID first, then a serial number; neither can be taken for the other.
const CStratigonModule* CStratigonModules::FindByName(const std::string& name) const
{
    const std::string wanted = UpperCase(name);
    if (wanted.empty())
        return nullptr;
    for (const auto& module : m_modules)
        if (module->Reading().uniqueId == wanted)
            return module.get();
    for (const auto& module : m_modules)
        if (module->Reading().serialNumber == wanted)
            return module.get();
    return nullptr;
}

win32::ComPtr<IUnknown> CStratigonModules::NewEnum()
{
    return CModuleEnumerator::Create(win32::ComPtr<CStratigonModules>(this), 0);
}

}  // namespace stratigon::app
