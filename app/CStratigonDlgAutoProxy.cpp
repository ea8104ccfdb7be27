#include "app/CStratigonDlgAutoProxy.h"

#include <new>

#include "app/AnsiText.h"
#include "app/CAutomationException.h"
#include "catalogue/AutomationResult.h"
#include "ui/ComPtr.h"

namespace stratigon::app {

namespace {

constexpr char kOutOfMemoryText[] = "Out of memory.";
constexpr char kInternalFailureText[] = "An internal application error has occurred.";

constexpr ParameterType kOneLong[] = {ParameterType::Long};
constexpr ParameterType kOneText[] = {ParameterType::Text};
constexpr ParameterType kTwoTexts[] = {ParameterType::Text, ParameterType::Text};
constexpr ParameterType kThreeTexts[] = {ParameterType::Text, ParameterType::Text, ParameterType::Text};

struct InterfaceEntry {
    const IID* iid;
    void* (*cast)(CStratigonDlgAutoProxy* proxy);
};

void* AsDual(CStratigonDlgAutoProxy* proxy) { return static_cast<IStratigonApplication*>(proxy); }
void* AsErrorSupport(CStratigonDlgAutoProxy* proxy) { return static_cast<ISupportErrorInfo*>(proxy); }

// The dispatch interface leads to the same IDispatch as IDispatch itself.
const InterfaceEntry kInterfaces[] = {
    {&IID_IUnknown, &AsDual},
    {&IID_IDispatch, &AsDual},
    {&DIID_DStratigonApplication, &AsDual},
    {&IID_IStratigonApplication, &AsDual},
    {&IID_ISupportErrorInfo, &AsErrorSupport},
};

void FillException(EXCEPINFO* exception, WORD code, HRESULT status, const std::string& description)
{
    if (exception == nullptr)
        return;
    *exception = EXCEPINFO{};
    exception->wCode = code;
    exception->scode = status;
    // A text that cannot be allocated is left out rather than failing the report.
    exception->bstrSource = ::SysAllocString(WideFromAnsi(ui::kApplicationName).c_str());
    exception->bstrDescription = ::SysAllocString(WideFromAnsi(description).c_str());
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

void CStratigonDlgAutoProxy::OnFinalRelease()
{
    // The dialog may close again, and shows no client any more.
    if (m_pMainDlg != nullptr)
        m_pMainDlg->ForgetAutomationProxy();
    m_pMainDlg = nullptr;
    delete this;
}

HRESULT CStratigonDlgAutoProxy::QueryInterface(REFIID iid, void** object) noexcept
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    for (const InterfaceEntry& entry : kInterfaces) {
        if (::IsEqualIID(iid, *entry.iid)) {
            *object = entry.cast(this);
            AddRef();
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

ULONG CStratigonDlgAutoProxy::AddRef() noexcept { return ++m_references; }

ULONG CStratigonDlgAutoProxy::Release() noexcept
{
    const ULONG left = --m_references;
    if (left == 0)
        OnFinalRelease();
    return left;
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
            V_BSTR(result) = BstrFromAnsi(*value).release();
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
        ui::ComPtr<ICreateErrorInfo> creator;
        if (const HRESULT created = ::CreateErrorInfo(creator.put()); FAILED(created))
            return created;
        const std::wstring text = WideFromAnsi(description);
        const std::wstring source = WideFromAnsi(ui::kApplicationName);
        creator->SetGUID(IID_IStratigonApplication);
        creator->SetDescription(const_cast<LPOLESTR>(text.c_str()));
        creator->SetHelpContext(0);
        creator->SetSource(const_cast<LPOLESTR>(source.c_str()));
        if (const ui::ComPtr<IErrorInfo> info = creator.As<IErrorInfo>(IID_IErrorInfo))
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
    return RunDual([&] { *uniqueId = BstrFromAnsi(UniqueIdOf(AnsiFromBstr(serialNumber))).release(); });
}

HRESULT CStratigonDlgAutoProxy::SelectModule(BSTR uniqueId) noexcept
{
    return RunDual([&] { Select(AnsiFromBstr(uniqueId)); });
}

HRESULT CStratigonDlgAutoProxy::InstallUpgrade(BSTR upgrade, BSTR uniqueId) noexcept
{
    return RunDual([&] { Install(AnsiFromBstr(upgrade), AnsiFromBstr(uniqueId)); });
}

HRESULT CStratigonDlgAutoProxy::SaveUpgradeInfoToFile(BSTR filePath, BSTR uniqueId, BSTR upgradeText) noexcept
{
    return RunDual([&] { SaveInfo(AnsiFromBstr(filePath), AnsiFromBstr(uniqueId), AnsiFromBstr(upgradeText)); });
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
