// The automation object every client of "Stratigon.Application" shares: a thin proxy whose
// methods convert their arguments, run one operation of the main dialog and turn a failure
// into an automation error. Late-bound through IDispatch, early-bound through the dual interface.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <span>
#include <string>

#include "Stratigon.h"
#include "app/DispatchArguments.h"
#include "ui/ApplicationState.h"
#include "ui/CMainWindow.h"
#include "ui/IAutomationProxy.h"
#include "win32/ComObject.h"

namespace stratigon::app {

class CAutomationException;

class CStratigonDlgAutoProxy final : public win32::ComObject<CStratigonDlgAutoProxy, IStratigonApplication, ISupportErrorInfo>,
                                     public ui::IAutomationProxy {
public:
    // Starts with the one reference that creation gives; adds one to the application lock count.
    explicit CStratigonDlgAutoProxy(ui::ApplicationState& application);

    static std::span<const Entry> Interfaces();

    // IDispatch: no type information; names reach their members through GetIDsOfNames only.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept override;

    // The dual interface.
    HRESULT STDMETHODCALLTYPE ShowWindow(LONG show) noexcept override;
    HRESULT STDMETHODCALLTYPE GetUniqueID(BSTR serialNumber, BSTR* uniqueId) noexcept override;
    HRESULT STDMETHODCALLTYPE SelectModule(BSTR uniqueId) noexcept override;
    HRESULT STDMETHODCALLTYPE InstallUpgrade(BSTR upgrade, BSTR uniqueId) noexcept override;
    HRESULT STDMETHODCALLTYPE SaveUpgradeInfoToFile(BSTR filePath, BSTR uniqueId, BSTR upgradeText) noexcept override;

    // ISupportErrorInfo: only the dual interface reports through the thread's error information.
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override;

    // ui::IAutomationProxy
    IUnknown* ControllingUnknown() override { return static_cast<IStratigonApplication*>(this); }
    void DetachMainDialog() override { m_pMainDlg = nullptr; }

private:
    struct Method {
        DISPID id;
        const wchar_t* name;
        std::span<const ParameterType> parameters;
        // The method's work; a text result for the methods that return one.
        std::optional<std::string> (*run)(CStratigonDlgAutoProxy& proxy, const DispatchArguments& arguments);
    };
    static std::span<const Method> Methods();
    static const Method* FindMethod(DISPID id);

    ~CStratigonDlgAutoProxy() override;
    void OnFinalRelease() override;

    // The steps both bindings run; each raises the automation error of a failure.
    void ShowMainWindow(LONG show);
    std::string UniqueIdOf(const std::string& serialNumber);
    void Select(const std::string& uniqueId);
    void Install(const std::string& upgrade, const std::string& uniqueId);
    void SaveInfo(const std::string& path, const std::string& uniqueId, const std::string& upgradeText);
    ui::CMainWindow& MainDialog();

    HRESULT RunLateBound(const Method& method, const DispatchArguments& arguments, VARIANT* result,
                         EXCEPINFO* exception) noexcept;
    template <class Step>
    HRESULT RunDual(Step step) noexcept;
    static HRESULT ReportDualError(HRESULT result, const std::string& description) noexcept;

    ui::ApplicationState& m_application;
    ui::CMainWindow* m_pMainDlg;
};

}  // namespace stratigon::app
