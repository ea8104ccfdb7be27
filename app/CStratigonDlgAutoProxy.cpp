#include "app/CStratigonDlgAutoProxy.h"

#include "app/CAutomationException.h"
#include "app/CStratigonModules.h"
#include "catalogue/AutomationResult.h"
#include "win32/AnsiText.h"

namespace stratigon::app {

CStratigonDlgAutoProxy::CStratigonDlgAutoProxy(ui::ApplicationState& application)
    : CAutomationObject(*application.alerts), m_application(application), m_pMainDlg(application.mainWindow)
{
    ++m_application.lockCount;
}

CStratigonDlgAutoProxy::~CStratigonDlgAutoProxy()
{
    if (m_pMainDlg != nullptr)
        m_pMainDlg->ForgetAutomationProxy();
    --m_application.lockCount;
}

void CStratigonDlgAutoProxy::OnFinalRelease()
{
    // One script's setting never silences the next client, nor the person at the screen.
    Alerts().SetDisplayed(true);
    // The dialog may close again, and shows no client any more.
    if (m_pMainDlg != nullptr)
        m_pMainDlg->ForgetAutomationProxy();
    m_pMainDlg = nullptr;
    delete this;
}

// The dispatch interface leads to the same IDispatch as IDispatch itself.
std::span<const CStratigonDlgAutoProxy::Entry> CStratigonDlgAutoProxy::Interfaces()
{
    static const Entry table[] = {
        As<IStratigonApplication2>(IID_IUnknown),
        As<IStratigonApplication2>(IID_IDispatch),
        As<IStratigonApplication2>(DIID_DStratigonApplication),
        As<IStratigonApplication2>(IID_IStratigonApplication),
        As<IStratigonApplication2>(IID_IStratigonApplication2),
        As<ISupportErrorInfo>(IID_ISupportErrorInfo),
    };
    return table;
}

std::span<const CStratigonDlgAutoProxy::Member> CStratigonDlgAutoProxy::Members()
{
    using Self = CStratigonDlgAutoProxy;
    static const Member table[] = {
        Bind<&Self::ShowMainWindow>(1, L"ShowWindow", DISPATCH_METHOD, kCall),
        Bind<&Self::UniqueIdOf>(2, L"GetUniqueID", DISPATCH_METHOD, kCall),
        Bind<&Self::Select>(3, L"SelectModule", DISPATCH_METHOD, kCall),
        Bind<&Self::Install>(4, L"InstallUpgrade", DISPATCH_METHOD, kCall),
        Bind<&Self::SaveInfo>(5, L"SaveUpgradeInfoToFile", DISPATCH_METHOD, kCall),
        Bind<&Self::Modules>(6, L"Modules", DISPATCH_PROPERTYGET, kCall),
        Bind<&Self::AlertsDisplayed>(7, L"DisplayAlerts", DISPATCH_PROPERTYGET, kNoCall),
        Bind<&Self::DisplayAlerts>(7, L"DisplayAlerts", DISPATCH_PROPERTYPUT, kNoCall),
        Bind<&Self::LastAlerts>(8, L"LastAlerts", DISPATCH_PROPERTYGET, kNoCall),
    };
    return table;
}

bool CStratigonDlgAutoProxy::ReportsErrorInfo(REFIID iid)
{
    return ::IsEqualIID(iid, IID_IStratigonApplication) || ::IsEqualIID(iid, IID_IStratigonApplication2);
}

HRESULT CStratigonDlgAutoProxy::ShowWindow(LONG show) noexcept
{
    return RunDual(IID_IStratigonApplication, kCall, [&] { ShowMainWindow(show); });
}

// A failure hands back no text: COM's rule, and what the marshaller gives a client in another
// process anyway.
HRESULT CStratigonDlgAutoProxy::GetUniqueID(BSTR serialNumber, BSTR* uniqueId) noexcept
{
    return RunDualGet(IID_IStratigonApplication, kCall, uniqueId,
                      [&] { return UniqueIdOf(win32::AnsiFromBstr(serialNumber)); });
}

HRESULT CStratigonDlgAutoProxy::SelectModule(BSTR uniqueId) noexcept
{
    return RunDual(IID_IStratigonApplication, kCall, [&] { Select(win32::AnsiFromBstr(uniqueId)); });
}

HRESULT CStratigonDlgAutoProxy::InstallUpgrade(BSTR upgrade, BSTR uniqueId) noexcept
{
    return RunDual(IID_IStratigonApplication, kCall,
                   [&] { Install(win32::AnsiFromBstr(upgrade), win32::AnsiFromBstr(uniqueId)); });
}

HRESULT CStratigonDlgAutoProxy::SaveUpgradeInfoToFile(BSTR filePath, BSTR uniqueId, BSTR upgradeText) noexcept
{
    return RunDual(IID_IStratigonApplication, kCall, [&] {
        SaveInfo(win32::AnsiFromBstr(filePath), win32::AnsiFromBstr(uniqueId), win32::AnsiFromBstr(upgradeText));
    });
}

HRESULT CStratigonDlgAutoProxy::get_Modules(IStratigonModules** modules) noexcept
{
    return RunDualGet(IID_IStratigonApplication2, kCall, modules, [&] { return Modules(); });
}

HRESULT CStratigonDlgAutoProxy::get_DisplayAlerts(VARIANT_BOOL* display) noexcept
{
    return RunDualGet(IID_IStratigonApplication2, kNoCall, display, [&] { return AlertsDisplayed(); });
}

HRESULT CStratigonDlgAutoProxy::put_DisplayAlerts(VARIANT_BOOL display) noexcept
{
    return RunDual(IID_IStratigonApplication2, kNoCall, [&] { DisplayAlerts(display != VARIANT_FALSE); });
}

HRESULT CStratigonDlgAutoProxy::get_LastAlerts(VARIANT* texts) noexcept
{
    return RunDualGet(IID_IStratigonApplication2, kNoCall, texts, [&] { return LastAlerts(); });
}

void CStratigonDlgAutoProxy::ShowMainWindow(LONG show)
{
    if (show != 0 && show != 1)
        RaiseAutomationError(AutomationResult::ShowWindowFailed);
    if (m_application.mainWindow != nullptr)
        ::ShowWindow(m_application.mainWindow->GetHwnd(), show == 1 ? SW_SHOW : SW_HIDE);
}

// A proxy whose dialog has gone can do nothing more for its clients.
ui::CMainWindow& CStratigonDlgAutoProxy::MainDialog()
{
    if (m_pMainDlg == nullptr)
        RaiseAutomationError(AutomationResult::OperationFailed);
    return *m_pMainDlg;
}

std::string CStratigonDlgAutoProxy::UniqueIdOf(const std::string& serialNumber)
{
    std::string uniqueId;
    RaiseIfFailed(MainDialog().GetUniqueIdBySerial(serialNumber, uniqueId));
    return uniqueId;
}

void CStratigonDlgAutoProxy::Select(const std::string& uniqueId)
{
    RaiseIfFailed(MainDialog().SelectModuleByUniqueId(uniqueId));
}

void CStratigonDlgAutoProxy::Install(const std::string& upgrade, const std::string& uniqueId)
{
    RaiseIfFailed(MainDialog().InstallUpgradeByUniqueId(upgrade, uniqueId));
}

void CStratigonDlgAutoProxy::SaveInfo(const std::string& path, const std::string& uniqueId, const std::string& upgradeText)
{
    RaiseIfFailed(MainDialog().SaveUpgradeInfoByUniqueId(path, uniqueId, upgradeText));
}

win32::ComPtr<IStratigonModules> CStratigonDlgAutoProxy::Modules()
{
    return CStratigonModules::Create(*this, MainDialog().ReadEveryModuleForClient());
}

bool CStratigonDlgAutoProxy::AlertsDisplayed() const { return Alerts().Displayed(); }

void CStratigonDlgAutoProxy::DisplayAlerts(bool displayed) { Alerts().SetDisplayed(displayed); }

TextList CStratigonDlgAutoProxy::LastAlerts() const { return Alerts().Kept(); }

}  // namespace stratigon::app
