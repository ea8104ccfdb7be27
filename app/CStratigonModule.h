// One module of the bench as an automation object: what its readout found when the collection
// was read (a snapshot, read again by Refresh), the lines of its Possible Upgrades list, and
// the application's install and report operations for its unique ID.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "Stratigon.h"
#include "app/CAutomationObject.h"
#include "module/ModuleReading.h"

namespace stratigon::app {

class CStratigonDlgAutoProxy;

class CStratigonModule final : public CAutomationObject<CStratigonModule, IStratigonModule> {
public:
    // The object holds a reference to the proxy: while a client has it, the program has a client.
    static win32::ComPtr<CStratigonModule> Create(CStratigonDlgAutoProxy& proxy, ModuleReading reading);

    static std::span<const Entry> Interfaces();
    static std::span<const Member> Members();
    static bool ReportsErrorInfo(REFIID iid) { return ::IsEqualIID(iid, IID_IStratigonModule); }

    const ModuleReading& Reading() const { return m_reading; }

    HRESULT STDMETHODCALLTYPE get_Frame(LONG* frame) noexcept override { return Get(frame, &CStratigonModule::Frame); }
    HRESULT STDMETHODCALLTYPE get_FrameName(BSTR* name) noexcept override { return Get(name, &CStratigonModule::FrameName); }
    HRESULT STDMETHODCALLTYPE get_Slot(LONG* slot) noexcept override { return Get(slot, &CStratigonModule::Slot); }
    HRESULT STDMETHODCALLTYPE get_ResourceName(BSTR* name) noexcept override { return Get(name, &CStratigonModule::ResourceName); }
    HRESULT STDMETHODCALLTYPE get_ProductType(BSTR* product) noexcept override { return Get(product, &CStratigonModule::ProductType); }
    HRESULT STDMETHODCALLTYPE get_SerialNumber(BSTR* serial) noexcept override { return Get(serial, &CStratigonModule::SerialNumber); }
    HRESULT STDMETHODCALLTYPE get_UniqueID(BSTR* uniqueId) noexcept override { return Get(uniqueId, &CStratigonModule::UniqueId); }
    HRESULT STDMETHODCALLTYPE get_MemoryDepth(BSTR* depth) noexcept override { return Get(depth, &CStratigonModule::MemoryDepth); }
    HRESULT STDMETHODCALLTYPE get_StateSpeed(BSTR* speed) noexcept override { return Get(speed, &CStratigonModule::StateSpeed); }
    HRESULT STDMETHODCALLTYPE get_TimingSpeed(BSTR* speed) noexcept override { return Get(speed, &CStratigonModule::TimingSpeed); }
    HRESULT STDMETHODCALLTYPE get_Channels(BSTR* channels) noexcept override { return Get(channels, &CStratigonModule::Channels); }
    HRESULT STDMETHODCALLTYPE get_ReadStatus(LONG* status) noexcept override { return Get(status, &CStratigonModule::ReadStatus); }
    HRESULT STDMETHODCALLTYPE get_PossibleUpgrades(VARIANT* lines) noexcept override;
    HRESULT STDMETHODCALLTYPE Refresh() noexcept override;
    HRESULT STDMETHODCALLTYPE InstallUpgrade(BSTR upgrade) noexcept override;
    HRESULT STDMETHODCALLTYPE SaveUpgradeInfoToFile(BSTR filePath, BSTR upgradeText) noexcept override;

private:
    CStratigonModule(CStratigonDlgAutoProxy& proxy, ModuleReading reading);

    template <class Out, class Step>
    HRESULT Get(Out* out, Step step) noexcept
    {
        return RunDualGet(IID_IStratigonModule, kNoCall, out, [&] { return (this->*step)(); });
    }

    // The steps both bindings run.
    LONG Frame() const { return m_reading.device.interfaceNumber; }
    std::string FrameName() const;
    LONG Slot() const { return m_reading.device.slot; }
    std::string ResourceName() const { return m_reading.device.resource; }
    std::string ProductType() const { return m_reading.productName; }
    std::string SerialNumber() const { return m_reading.serialNumber; }
    std::string UniqueId() const { return m_reading.uniqueId; }
    std::string MemoryDepth() const { return m_reading.memoryDepth; }
    std::string StateSpeed() const { return m_reading.stateSpeed; }
    std::string TimingSpeed() const { return m_reading.timingSpeed; }
    std::string Channels() const { return m_reading.channels; }
    LONG ReadStatus() const { return m_reading.status; }
    TextList PossibleUpgrades();
    void ReadAgain();
    void Install(const std::string& upgrade);
    void SaveInfo(const std::string& path, const std::string& upgradeText);
    // The unique ID the application's operations find the module by.
    const std::string& AddressedUniqueId() const;

    CStratigonDlgAutoProxy& m_proxy;
    win32::ComPtr<IUnknown> m_proxyReference;
    ModuleReading m_reading;
};

}  // namespace stratigon::app
