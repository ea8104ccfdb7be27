#include "app/CStratigonDlgAutoProxy.h"

#include <new>

#include "app/CAutomationException.h"
#include "catalogue/AutomationResult.h"
#include "win32/AnsiText.h"
#include "win32/ComPtr.h"

namespace stratigon::app {

namespace {

constexpr char kOutOfMemoryText[] = "Out of memory.";
constexpr char kInternalFailureText[] = "An internal application error has occurred.";

constexpr ParameterType kOneLong[] = {ParameterType::Long};
constexpr ParameterType kOneText[] = {ParameterType::Text};
constexpr ParameterType kTwoTexts[] = {ParameterType::Text, ParameterType::Text};
constexpr ParameterType kThreeTexts[] = {ParameterType::Text, ParameterType::Text, ParameterType::Text};

void FillException(EXCEPINFO* exception, WORD code, HRESULT status, const std::string& description)
{
    if (exception == nullptr)
        return;
    *exception = EXCEPINFO{};
    exception->wCode = code;
    exception->scode = status;
    // A text that cannot be allocated is left out rather than failing the report.
    exception->bstrSource = ::SysAllocString(win32::WideFromAnsi(ui::kApplicationName).c_str());
    exception->bstrDescription = ::SysAllocString(win32::WideFromAnsi(description).c_str());
}

}  // namespace

CStratigonDlgAutoProxy::CStratigonDlgAutoProxy(ui::ApplicationState& application)
    : m_application(application), m_pMainDlg(application.mainWindow)
{
    ++m_application.lockCount;
}

CStratigonDlgAutoProxy::~CStratigonDlgAutoProxy()
{
    if (m_pMainDlg != nullptr)
        m_pMainDlg->ForgetAutomationProxy();
    --m_application.lockCount;
}

// The dispatch interface leads to the same IDispatch as IDispatch itself.
std::span<const CStratigonDlgAutoProxy::Entry> CStratigonDlgAutoProxy::Interfaces()
{
    static const Entry table[] = {
        As<IStratigonApplication>(IID_IUnknown),
        As<IStratigonApplication>(IID_IDispatch),
        As<IStratigonApplication>(DIID_DStratigonApplication),
        As<IStratigonApplication>(IID_IStratigonApplication),
        As<ISupportErrorInfo>(IID_ISupportErrorInfo),
    };
    return table;
}

void CStratigonDlgAutoProxy::OnFinalRelease()
{
    // The dialog may close again, and shows no client any more.
    if (m_pMainDlg != nullptr)
        m_pMainDlg->ForgetAutomationProxy();
    m_pMainDlg = nullptr;
    delete this;
}

HRESULT CStratigonDlgAutoProxy::GetTypeInfoCount(UINT* count) noexcept
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CStratigonDlgAutoProxy::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept
{
    if (info == nullptr)
        return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

std::span<const CStratigonDlgAutoProxy::Method> CStratigonDlgAutoProxy::Methods()
{
    using Result = std::optional<std::string>;
    using Arguments = const DispatchArguments&;
    static const Method table[] = {
        {1, L"ShowWindow", kOneLong, [](CStratigonDlgAutoProxy& p, Arguments a) -> Result {
             p.ShowMainWindow(a.Long(0));
             return {};
         }},
        {2, L"GetUniqueID", kOneText,
         [](CStratigonDlgAutoProxy& p, Arguments a) -> Result { return p.UniqueIdOf(a.Text(0)); }},
        {3, L"SelectModule", kOneText, [](CStratigonDlgAutoProxy& p, Arguments a) -> Result {
             p.Select(a.Text(0));
             return {};
         }},
        {4, L"InstallUpgrade", kTwoTexts, [](CStratigonDlgAutoProxy& p, Arguments a) -> Result {
             p.Install(a.Text(0), a.Text(1));
             return {};
         }},
        {5, L"SaveUpgradeInfoToFile", kThreeTexts, [](CStratigonDlgAutoProxy& p, Arguments a) -> Result {
             p.SaveInfo(a.Text(0), a.Text(1), a.Text(2));
             return {};
         }},
    };
    return table;
}

const CStratigonDlgAutoProxy::Method* CStratigonDlgAutoProxy::FindMethod(DISPID id)
{
    for (const Method& method : Methods())
        if (method.id == id)
            return &method;
    return nullptr;
}

HRESULT CStratigonDlgAutoProxy::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept
{
    if (!::IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (names == nullptr || ids == nullptr || count == 0)
        return E_INVALIDARG;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    for (const Method& method : Methods())
        if (names[0] != nullptr && ::_wcsicmp(names[0], method.name) == 0)
            ids[0] = method.id;
    // Parameters have no names that callers could use.
    if (ids[0] == DISPID_UNKNOWN || count > 1)
        result = DISP_E_UNKNOWNNAME;
    return result;
}

HRESULT CStratigonDlgAutoProxy::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters,
                                       VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept
{
    if (!::IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    const Method* method = FindMethod(id);
    const bool called = (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0;
    const bool assigned = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (method == nullptr || !called || assigned)
        return DISP_E_MEMBERNOTFOUND;
    if (parameters == nullptr)
        return E_INVALIDARG;
    try {
        DispatchArguments arguments;
        const HRESULT converted = arguments.Convert(*parameters, method->parameters, argumentError);
        if (FAILED(converted))
            return converted;
        if (result != nullptr)
            ::VariantInit(result);
        return RunLateBound(*method, arguments, result, exception);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT CStratigonDlgAutoProxy::RunLateBound(const Method& method, const DispatchArguments& arguments,
                                             VARIANT* result, EXCEPINFO* exception) noexcept
{
    try {
        const std::optional<std::string> value = method.run(*this, arguments);
        if (value && result != nullptr) {
            V_BSTR(result) = win32::BstrFromAnsi(*value).release();
            V_VT(result) = VT_BSTR;
        }
        return S_OK;
    } catch (const CAutomationException& error) {
        FillException(exception, error.Code(), S_OK, error.Description());
    } catch (const std::bad_alloc&) {
        FillException(exception, 0, E_OUTOFMEMORY, kOutOfMemoryText);
    } catch (...) {
        FillException(exception, 0, E_UNEXPECTED, kInternalFailureText);
    }
    return DISP_E_EXCEPTION;
}

template <class Step>
HRESULT CStratigonDlgAutoProxy::RunDual(Step step) noexcept
{
    try {
        step();
        return S_OK;
    } catch (const CAutomationException& error) {
        return ReportDualError(static_cast<HRESULT>(AutomationResult::FromCode(error.Code())), error.Description());
    } catch (const std::bad_alloc&) {
        return ReportDualError(E_OUTOFMEMORY, kOutOfMemoryText);
    } catch (...) {
        return ReportDualError(E_UNEXPECTED, kInternalFailureText);
    }
}

// Hands the failure to the thread's error information, where a dual-interface client reads it.
HRESULT CStratigonDlgAutoProxy::ReportDualError(HRESULT result, const std::string& description) noexcept
{
    try {
        win32::ComPtr<ICreateErrorInfo> creator;
        if (const HRESULT created = ::CreateErrorInfo(creator.put()); FAILED(created))
            return created;
        const std::wstring text = win32::WideFromAnsi(description);
        const std::wstring source = win32::WideFromAnsi(ui::kApplicationName);
        creator->SetGUID(IID_IStratigonApplication);
        creator->SetDescription(const_cast<LPOLESTR>(text.c_str()));
        creator->SetHelpContext(0);
        creator->SetSource(const_cast<LPOLESTR>(source.c_str()));
        if (const win32::ComPtr<IErrorInfo> info = creator.As<IErrorInfo>(IID_IErrorInfo))
            ::SetErrorInfo(0, info.get());
    } catch (...) {
        // The HRESULT still tells the client what failed.
    }
    return result;
}

HRESULT CStratigonDlgAutoProxy::ShowWindow(LONG show) noexcept
{
    return RunDual([&] { ShowMainWindow(show); });
}

HRESULT CStratigonDlgAutoProxy::GetUniqueID(BSTR serialNumber, BSTR* uniqueId) noexcept
{
    if (uniqueId == nullptr)
        return E_POINTER;
    // A failure hands back no text: COM's rule, and what the marshaller gives a client in
    // another process anyway.
    *uniqueId = nullptr;
    return RunDual([&] { *uniqueId = win32::BstrFromAnsi(UniqueIdOf(win32::AnsiFromBstr(serialNumber))).release(); });
}

HRESULT CStratigonDlgAutoProxy::SelectModule(BSTR uniqueId) noexcept
{
    return RunDual([&] { Select(win32::AnsiFromBstr(uniqueId)); });
}

HRESULT CStratigonDlgAutoProxy::InstallUpgrade(BSTR upgrade, BSTR uniqueId) noexcept
{
    return RunDual([&] { Install(win32::AnsiFromBstr(upgrade), win32::AnsiFromBstr(uniqueId)); });
}

HRESULT CStratigonDlgAutoProxy::SaveUpgradeInfoToFile(BSTR filePath, BSTR uniqueId, BSTR upgradeText) noexcept
{
    return RunDual([&] { SaveInfo(win32::AnsiFromBstr(filePath), win32::AnsiFromBstr(uniqueId), win32::AnsiFromBstr(upgradeText)); });
}

HRESULT CStratigonDlgAutoProxy::InterfaceSupportsErrorInfo(REFIID iid) noexcept
{
    return ::IsEqualIID(iid, IID_IStratigonApplication) ? S_OK : S_FALSE;
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
    if (const std::uint32_t result = MainDialog().GetUniqueIdBySerial(serialNumber, uniqueId); result != 0)
        RaiseAutomationError(result);
    return uniqueId;
}

void CStratigonDlgAutoProxy::Select(const std::string& uniqueId)
{
    if (const std::uint32_t result = MainDialog().SelectModuleByUniqueId(uniqueId); result != 0)
        RaiseAutomationError(result);
}

void CStratigonDlgAutoProxy::Install(const std::string& upgrade, const std::string& uniqueId)
{
    if (const std::uint32_t result = MainDialog().InstallUpgradeByUniqueId(upgrade, uniqueId); result != 0)
        RaiseAutomationError(result);
}

void CStratigonDlgAutoProxy::SaveInfo(const std::string& path, const std::string& uniqueId, const std::string& upgradeText)
{
    if (const std::uint32_t result = MainDialog().SaveUpgradeInfoByUniqueId(path, uniqueId, upgradeText); result != 0)
        RaiseAutomationError(result);
}

}  // namespace stratigon::app
