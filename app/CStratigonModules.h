// The modules of the bench as the collection was read, in device-table order: Count, Item by
// number from 1, by unique ID or by serial number, and an enumerator for For Each.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "Stratigon.h"
#include "app/CAutomationObject.h"
#include "app/CStratigonModule.h"
#include "module/ModuleReading.h"

namespace stratigon::app {

class CStratigonDlgAutoProxy;

class CStratigonModules final : public CAutomationObject<CStratigonModules, IStratigonModules> {
public:
    // One module object per reading, in the readings' order.
    static win32::ComPtr<IStratigonModules> Create(CStratigonDlgAutoProxy& proxy, std::vector<ModuleReading> readings);

    static std::span<const Entry> Interfaces();
    static std::span<const Member> Members();
    static bool ReportsErrorInfo(REFIID iid) { return ::IsEqualIID(iid, IID_IStratigonModules); }

    const std::vector<win32::ComPtr<CStratigonModule>>& Items() const { return m_modules; }

    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IStratigonModule** module) noexcept override;
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) noexcept override;

private:
    CStratigonModules(CStratigonDlgAutoProxy& proxy, std::vector<ModuleReading> readings);

    LONG Count() const { return static_cast<LONG>(m_modules.size()); }
    win32::ComPtr<IStratigonModule> Item(const ItemIndex& index);
    win32::ComPtr<IUnknown> NewEnum();
    const CStratigonModule* FindByName(const std::string& name) const;

    std::vector<win32::ComPtr<CStratigonModule>> m_modules;
};

}  // namespace stratigon::app
