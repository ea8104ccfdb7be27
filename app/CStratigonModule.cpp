#include "app/CStratigonModule.h"

#include "app/CAutomationException.h"
#include "app/CStratigonDlgAutoProxy.h"
#include "catalogue/AutomationMessages.h"
#include "catalogue/AutomationResult.h"
#include "catalogue/CSortedList.h"
#include "catalogue/PossibleUpgrades.h"
#include "instrument/FrameNames.h"
#include "module/ModuleCodes.h"

namespace stratigon::app {

win32::ComPtr<CStratigonModule> CStratigonModule::Create(CStratigonDlgAutoProxy& proxy, ModuleReading reading)
{
    win32::ComPtr<CStratigonModule> module;
    module.attach(new CStratigonModule(proxy, std::move(reading)));
    return module;
}

CStratigonModule::CStratigonModule(CStratigonDlgAutoProxy& proxy, ModuleReading reading)
    : CAutomationObject(proxy.Alerts()), m_proxy(proxy), m_proxyReference(proxy.ControllingUnknown()),
      m_reading(std::move(reading))
{
}

std::span<const CStratigonModule::Entry> CStratigonModule::Interfaces()
{
    static const Entry table[] = {
        As<IStratigonModule>(IID_IUnknown),
        As<IStratigonModule>(IID_IDispatch),
        As<IStratigonModule>(IID_IStratigonModule),
        As<ISupportErrorInfo>(IID_ISupportErrorInfo),
    };
    return table;
}

std::span<const CStratigonModule::Member> CStratigonModule::Members()
{
    using Self = CStratigonModule;
    constexpr WORD get = DISPATCH_PROPERTYGET;
    static const Member table[] = {
        Bind<&Self::Frame>(1, L"Frame", get, kNoCall),
        Bind<&Self::FrameName>(2, L"FrameName", get, kNoCall),
        Bind<&Self::Slot>(3, L"Slot", get, kNoCall),
        Bind<&Self::ResourceName>(4, L"ResourceName", get, kNoCall),
        Bind<&Self::ProductType>(5, L"ProductType", get, kNoCall),
        Bind<&Self::SerialNumber>(6, L"SerialNumber", get, kNoCall),
        Bind<&Self::UniqueId>(7, L"UniqueID", get, kNoCall),
        Bind<&Self::MemoryDepth>(8, L"MemoryDepth", get, kNoCall),
        Bind<&Self::StateSpeed>(9, L"StateSpeed", get, kNoCall),
        Bind<&Self::TimingSpeed>(10, L"TimingSpeed", get, kNoCall),
        Bind<&Self::Channels>(11, L"Channels", get, kNoCall),
        Bind<&Self::ReadStatus>(12, L"ReadStatus", get, kNoCall),
        Bind<&Self::PossibleUpgrades>(13, L"PossibleUpgrades", get, kCall),
        Bind<&Self::ReadAgain>(14, L"Refresh", DISPATCH_METHOD, kCall),
        Bind<&Self::Install>(15, L"InstallUpgrade", DISPATCH_METHOD, kCall),
        Bind<&Self::SaveInfo>(16, L"SaveUpgradeInfoToFile", DISPATCH_METHOD, kCall),
    };
    return table;
}

HRESULT CStratigonModule::get_PossibleUpgrades(VARIANT* lines) noexcept
{
    return RunDualGet(IID_IStratigonModule, kCall, lines, [&] { return PossibleUpgrades(); });
}

HRESULT CStratigonModule::Refresh() noexcept
{
    return RunDual(IID_IStratigonModule, kCall, [&] { ReadAgain(); });
}

HRESULT CStratigonModule::InstallUpgrade(BSTR upgrade) noexcept
{
    return RunDual(IID_IStratigonModule, kCall, [&] { Install(win32::AnsiFromBstr(upgrade)); });
}

HRESULT CStratigonModule::SaveUpgradeInfoToFile(BSTR filePath, BSTR upgradeText) noexcept
{
    return RunDual(IID_IStratigonModule, kCall,
                   [&] { SaveInfo(win32::AnsiFromBstr(filePath), win32::AnsiFromBstr(upgradeText)); });
}

std::string CStratigonModule::FrameName() const { return stratigon::FrameName(m_reading.device.interfaceNumber); }

// What the Possible Upgrades dialog would list; a module that could not be read completely
// offers none, as the dialog does not open for it.
TextList CStratigonModule::PossibleUpgrades()
{
    if (m_reading.status != ModuleCode::Success)
        return {};
    CSortedList list;
    const ModuleConfiguration configuration{m_reading.productName, m_reading.memoryDepth, m_reading.stateSpeed};
    if (ListPossibleUpgrades(configuration, list, Alerts()) == 0)
        RaiseAutomationError(AutomationResult::ProductNotDefined);
    TextList lines;
    for (int line = 0; line < list.GetCount(); ++line)
        lines.push_back(list.GetText(line));
    return lines;
}

// A module that no longer answers is an error, with the transport's own words among the texts
// the call kept or showed, never a stale success.
void CStratigonModule::ReadAgain()
{
    m_reading = m_proxy.MainDialog().ReadModuleForClient(m_reading.device);
    if (m_reading.status == ModuleCode::QueryFailed)
        throw CAutomationException(AutomationResult::CodeOf(AutomationResult::OperationFailed),
                                   std::string(AutomationMessageText(AutomationResult::OperationFailed)) + " " +
                                       ModuleCodeText(m_reading.status));
}

void CStratigonModule::Install(const std::string& upgrade)
{
    RaiseIfFailed(m_proxy.MainDialog().InstallUpgradeByUniqueId(upgrade, AddressedUniqueId()));
}

void CStratigonModule::SaveInfo(const std::string& path, const std::string& upgradeText)
{
    RaiseIfFailed(m_proxy.MainDialog().SaveUpgradeInfoByUniqueId(path, AddressedUniqueId(), upgradeText));
}

// A module read without a unique ID cannot be told from others like it: acting on "the first
// module without one" might change another module.
const std::string& CStratigonModule::AddressedUniqueId() const
{
    if (m_reading.uniqueId.empty())
        RaiseAutomationError(AutomationResult::UniqueIdNotFound);
    return m_reading.uniqueId;
}

}  // namespace stratigon::app
