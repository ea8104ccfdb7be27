// The IUnknown of every COM object of ours, written once: an atomic reference count, and a
// QueryInterface that walks the object's own table of interfaces. The object's class lists
// its interfaces as bases of ComObject and in a table:
//
//     class CThing final : public win32::ComObject<CThing, IThing, ISupportErrorInfo> {
//     public:
//         static std::span<const Entry> Interfaces();  // {&IID_IUnknown, As<IThing>}, ...
//     };
//
// When the last reference goes, OnFinalRelease runs: it deletes the object unless the class
// says otherwise (an object that lives as long as the program keeps count only).
#pragma once

#include <unknwn.h>

#include <atomic>
#include <span>

namespace stratigon::win32 {

template <class Derived, class... ComInterfaces>
class ComObject : public ComInterfaces... {
public:
    struct Entry {
        const IID* iid;
        void* (*cast)(Derived* object);
    };

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        auto* self = static_cast<Derived*>(this);
        for (const Entry& entry : Derived::Interfaces()) {
            if (::IsEqualIID(iid, *entry.iid)) {
                *object = entry.cast(self);
                AddRef();
                return S_OK;
            }
        }
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++m_references; }

    ULONG STDMETHODCALLTYPE Release() noexcept override
    {
        const ULONG left = --m_references;
        if (left == 0)
            OnFinalRelease();
        return left;
    }

protected:
    // An object made with `new` starts with the one reference its creator holds.
    explicit ComObject(ULONG references = 1) : m_references(references) {}
    virtual ~ComObject() = default;

    virtual void OnFinalRelease() { delete this; }

    // The table entry of one interface: the object seen as `Interface`.
    template <class Interface>
    static constexpr Entry As(const IID& iid)
    {
        return Entry{&iid, [](Derived* object) -> void* { return static_cast<Interface*>(object); }};
    }

private:
    std::atomic<ULONG> m_references;
};

}  // namespace stratigon::win32
