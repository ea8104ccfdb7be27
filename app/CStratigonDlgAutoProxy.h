// The automation object every client of "Stratigon.Application" shares: a thin proxy whose
// members convert their arguments, run one operation of the main dialog and turn a failure
// into an automation error. Late-bound through IDispatch, early-bound through the dual
// interfaces; it also hands out the bench as module objects and keeps DisplayAlerts.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string>

#include "Stratigon.h"
#include "app/CAutomationObject.h"
#include "ui/ApplicationState.h"
#include "ui/CMainWindow.h"
#include "ui/IAutomationProxy.h"

namespace stratigon::app {

class CStratigonDlgAutoProxy final : public CAutomationObject<CStratigonDlgAutoProxy, IStratigonApplication2>,
                                     public ui::IAutomationProxy {
public:
    // Starts with the one reference that creation gives; adds one to the application lock count.
    explicit CStratigonDlgAutoProxy(ui::ApplicationState& application);

    static std::span<const Entry> Interfaces();
    static std::span<const Member> Members();
    // Only the dual interfaces report through the thread's error information.
    static bool ReportsErrorInfo(REFIID iid);

    // IStratigonApplication
    HRESULT STDMETHODCALLTYPE ShowWindow(LONG show) noexcept override;
    HRESULT STDMETHODCALLTYPE GetUniqueID(BSTR serialNumber, BSTR* uniqueId) noexcept override;
    HRESULT STDMETHODCALLTYPE SelectModule(BSTR uniqueId) noexcept override;
    HRESULT STDMETHODCALLTYPE InstallUpgrade(BSTR upgrade, BSTR uniqueId) noexcept override;
    HRESULT STDMETHODCALLTYPE SaveUpgradeInfoToFile(BSTR filePath, BSTR uniqueId, BSTR upgradeText) noexcept override;

    // IStratigonApplication2
    HRESULT STDMETHODCALLTYPE get_Modules(IStratigonModules** modules) noexcept override;
    HRESULT STDMETHODCALLTYPE get_DisplayAlerts(VARIANT_BOOL* display) noexcept override;
    HRESULT STDMETHODCALLTYPE put_DisplayAlerts(VARIANT_BOOL display) noexcept override;
    HRESULT STDMETHODCALLTYPE get_LastAlerts(VARIANT* texts) noexcept override;

    // ui::IAutomationProxy
    IUnknown* ControllingUnknown() override { return static_cast<IStratigonApplication2*>(this); }
    void DetachMainDialog() override { m_pMainDlg = nullptr; }

    // The main dialog the members work on; raises 1002 when it has gone.
    ui::CMainWindow& MainDialog();

private:
    ~CStratigonDlgAutoProxy() override;
    void OnFinalRelease() override;

    // The steps both bindings run; each raises the automation error of a failure.
    void ShowMainWindow(LONG show);
    std::string UniqueIdOf(const std::string& serialNumber);
    void Select(const std::string& uniqueId);
    void Install(const std::string& upgrade, const std::string& uniqueId);
    void SaveInfo(const std::string& path, const std::string& uniqueId, const std::string& upgradeText);
    win32::ComPtr<IStratigonModules> Modules();
    bool AlertsDisplayed() const;
    void DisplayAlerts(bool displayed);
    TextList LastAlerts() const;

    ui::ApplicationState& m_application;
    ui::CMainWindow* m_pMainDlg;
};

}  // namespace stratigon::app
