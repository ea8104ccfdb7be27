#include "app/AutomationFailure.h"

#include <new>

#include "app/CAutomationException.h"
#include "catalogue/AutomationResult.h"
#include "ui/ApplicationState.h"
#include "win32/AnsiText.h"
#include "win32/ComPtr.h"

namespace stratigon::app {

namespace {

constexpr char kOutOfMemoryText[] = "Out of memory.";
constexpr char kInternalFailureText[] = "An internal application error has occurred.";

AutomationFailure FailureOfCurrentException()
{
    try {
        throw;
    } catch (const CAutomationException& error) {
        return {error.Code(), S_OK, error.Description()};
    } catch (const CPlatformFailure& error) {
        return {0, error.Status(), error.Description()};
    } catch (const std::bad_alloc&) {
        return {0, E_OUTOFMEMORY, kOutOfMemoryText};
    } catch (...) {
        return {0, E_UNEXPECTED, kInternalFailureText};
    }
}

// "The operation was unsuccessful.", then each text the call kept, on lines of their own.
void AddKeptTexts(AutomationFailure& failure, const ui::CAutomationAlerts& alerts)
{
    if (alerts.Kept().empty())
        return;
    failure.description += "\n\nNot shown while DisplayAlerts is False:";
    for (const std::string& text : alerts.Kept())
        failure.description += "\n" + text;
}

}  // namespace

HRESULT AutomationFailure::Result() const
{
    return code != 0 ? static_cast<HRESULT>(AutomationResult::FromCode(code)) : status;
}

std::optional<AutomationFailure> RunForClient(const std::function<void()>& work, ui::CAutomationAlerts& alerts,
                                              bool call) noexcept
{
    std::optional<ui::CAutomationAlerts::CCall> clientCall;
    try {
        if (call)
            clientCall.emplace(alerts);
        work();
        return std::nullopt;
    } catch (...) {
        AutomationFailure failure = FailureOfCurrentException();
        try {
            if (call)
                AddKeptTexts(failure, alerts);
        } catch (...) {
            // The code still says what failed.
        }
        return failure;
    }
}

void FillException(EXCEPINFO* exception, const AutomationFailure& failure)
{
    if (exception == nullptr)
        return;
    *exception = EXCEPINFO{};
    exception->wCode = failure.code;
    exception->scode = failure.status;
    // A text that cannot be allocated is left out rather than failing the report.
    try {
        exception->bstrSource = win32::BstrFromAnsi(ui::kApplicationName).release();
        exception->bstrDescription = win32::BstrFromAnsi(failure.description).release();
    } catch (...) {
    }
}

// Hands the failure to the thread's error information, where a dual-interface client reads it.
HRESULT ReportDualError(const IID& iid, const AutomationFailure& failure) noexcept
{
    try {
        win32::ComPtr<ICreateErrorInfo> creator;
        if (const HRESULT created = ::CreateErrorInfo(creator.put()); FAILED(created))
            return created;
        const std::wstring text = win32::WideFromAnsi(failure.description);
        const std::wstring source = win32::WideFromAnsi(ui::kApplicationName);
        creator->SetGUID(iid);
        creator->SetDescription(const_cast<LPOLESTR>(text.c_str()));
        creator->SetHelpContext(0);
        creator->SetSource(const_cast<LPOLESTR>(source.c_str()));
        if (const win32::ComPtr<IErrorInfo> info = creator.As<IErrorInfo>(IID_IErrorInfo))
            ::SetErrorInfo(0, info.get());
    } catch (...) {
        // The HRESULT still tells the client what failed.
    }
    return failure.Result();
}

}  // namespace stratigon::app
