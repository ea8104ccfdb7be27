// The owner of one COM interface reference: released when the owner goes, taken through put()
// from functions that hand out an interface, so nothing leaks.
#pragma once

#include <unknwn.h>

#include <utility>

namespace stratigon::win32 {

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Shares `pointer`: adds a reference of its own.
    explicit ComPtr(Interface* pointer) : m_pointer(pointer)
    {
        if (m_pointer != nullptr)
            m_pointer->AddRef();
    }
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& other) : ComPtr(other.m_pointer) {}
    ComPtr(ComPtr&& other) noexcept : m_pointer(other.release()) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    Interface* get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    Interface* release() { return std::exchange(m_pointer, nullptr); }
    // Takes over a reference the caller holds, such as the one `new` gives an object.
    void attach(Interface* pointer)
    {
        reset();
        m_pointer = pointer;
    }
    void reset()
    {
        if (Interface* old = std::exchange(m_pointer, nullptr))
            old->Release();
    }
    Interface** put()
    {
        reset();
        return &m_pointer;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    // Another interface of the same object; empty when the object has none.
    template <class Other>
    ComPtr<Other> As(REFIID iid) const
    {
        ComPtr<Other> other;
        if (m_pointer != nullptr)
            m_pointer->QueryInterface(iid, other.put_void());
        return other;
    }

private:
    Interface* m_pointer = nullptr;
};

}  // namespace stratigon::win32
