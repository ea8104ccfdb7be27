// What every automation object of the program shares: IDispatch over the object's table of
// members (names matched without regard to letter case, arguments converted as the platform
// converts them, no type information handed out), ISupportErrorInfo, and the same steps run
// for late-bound and dual-interface callers with their failures reported the way each reads
// them. The object's class provides:
//
//     static std::span<const Member> Members();      // Bind<&Class::Step>(id, name, kind, call)
//     static bool ReportsErrorInfo(REFIID iid);       // its dual interfaces
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <span>

#include "app/AutomationBinding.h"
#include "app/AutomationFailure.h"
#include "ui/CAutomationAlerts.h"
#include "win32/ComObject.h"

namespace stratigon::app {

template <class Derived, class DualInterface>
class CAutomationObject : public win32::ComObject<Derived, DualInterface, ISupportErrorInfo> {
public:
    // A client call of its own may show boxes and starts the kept alerts anew; reading a
    // snapshot's value or the alerts themselves is none.
    enum CallKind : bool { kNoCall = false, kCall = true };

    struct Member {
        DISPID id;
        const wchar_t* name;
        WORD kind;  // DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT
        CallKind call;
        std::span<const ParameterType> parameters;
        void (*run)(Derived& object, const DispatchArguments& arguments, win32::UniqueVariant& result);
    };

    template <auto Step>
    static constexpr Member Bind(DISPID id, const wchar_t* name, WORD kind, CallKind call)
    {
        using Traits = StepTraits<decltype(Step)>;
        return Member{id, name, kind, call, Traits::kParameters, &Traits::template Run<Step>};
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override
    {
        if (count == nullptr)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override
    {
        if (info == nullptr)
            return E_POINTER;
        *info = nullptr;
        return DISP_E_BADINDEX;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) noexcept override
    {
        if (!::IsEqualIID(iid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        if (names == nullptr || ids == nullptr || count == 0)
            return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        for (const Member& member : Derived::Members())
            if (names[0] != nullptr && ::_wcsicmp(names[0], member.name) == 0)
                ids[0] = member.id;
        // Parameters have no names that callers could use.
        return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept override
    {
        if (!::IsEqualIID(iid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        const Member* member = FindMember(id, flags);
        if (member == nullptr)
            return DISP_E_MEMBERNOTFOUND;
        if (parameters == nullptr)
            return E_INVALIDARG;
        try {
            DispatchArguments arguments;
            const bool assignment = member->kind == DISPATCH_PROPERTYPUT;
            if (const HRESULT converted = arguments.Convert(*parameters, member->parameters, argumentError, assignment);
                FAILED(converted))
                return converted;
            if (result != nullptr)
                ::VariantInit(result);
            win32::UniqueVariant value;
            auto& self = static_cast<Derived&>(*this);
            if (const auto failure = RunForClient([&] { member->run(self, arguments, value); }, m_alerts, member->call)) {
                // Scripting hosts know the dispatch errors themselves ("Subscript out of range").
                if (failure->code == 0 && HRESULT_FACILITY(failure->status) == FACILITY_DISPATCH)
                    return failure->status;
                FillException(exception, *failure);
                return DISP_E_EXCEPTION;
            }
            if (result != nullptr)
                value.Detach(result);
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override
    {
        return Derived::ReportsErrorInfo(iid) ? S_OK : S_FALSE;
    }

    // Where the message boxes of the object's calls go.
    ui::CAutomationAlerts& Alerts() const { return m_alerts; }

protected:
    explicit CAutomationObject(ui::CAutomationAlerts& alerts) : m_alerts(alerts) {}

    // A dual-interface member without a result.
    template <class Work>
    HRESULT RunDual(const IID& iid, CallKind call, Work work) noexcept
    {
        const auto failure = RunForClient(work, m_alerts, call);
        return failure ? ReportDualError(iid, *failure) : S_OK;
    }

    // A dual-interface member with a result in `out`, which is cleared first: a client never
    // reads a value from a call that failed.
    template <class Out, class Work>
    HRESULT RunDualGet(const IID& iid, CallKind call, Out* out, Work work) noexcept
    {
        if (out == nullptr)
            return E_POINTER;
        ClearOut(out);
        return RunDual(iid, call, [&] { StoreOut(work(), out); });
    }

private:
    // Calls and property reads reach the methods and the reading side of a property;
    // assignments only its writing side.
    static const Member* FindMember(DISPID id, WORD flags)
    {
        const bool assigned = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
        const bool called = (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0;
        for (const Member& member : Derived::Members()) {
            if (member.id != id)
                continue;
            if (assigned ? member.kind == DISPATCH_PROPERTYPUT : called && member.kind != DISPATCH_PROPERTYPUT)
                return &member;
        }
        return nullptr;
    }

    ui::CAutomationAlerts& m_alerts;
};

}  // namespace stratigon::app
