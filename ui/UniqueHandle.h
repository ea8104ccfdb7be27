// Owners for Win32 and GDI handles: one small move-only template, one line per handle kind.
// Cleanup leaves the thread's last-error value as it found it.
#pragma once

#include <windows.h>

#include <utility>

namespace stratigon::ui {

template <typename Handle, auto Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    Handle release() { return std::exchange(m_handle, nullptr); }
    void reset(Handle handle = nullptr)
    {
        const Handle old = std::exchange(m_handle, handle);
        if (old != nullptr) {
            const DWORD lastError = ::GetLastError();
            Close(old);
            ::SetLastError(lastError);
        }
    }
    // For functions that hand out a handle through a pointer: nothing already owned leaks.
    Handle* put()
    {
        reset();
        return &m_handle;
    }

private:
    Handle m_handle = nullptr;
};

template <typename GdiObject>
void DeleteGdiObject(GdiObject object)
{
    ::DeleteObject(object);
}

using UniqueIcon = UniqueHandle<HICON, &::DestroyIcon>;
using UniqueFont = UniqueHandle<HFONT, &DeleteGdiObject<HFONT>>;
using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteGdiObject<HBITMAP>>;
using UniquePalette = UniqueHandle<HPALETTE, &DeleteGdiObject<HPALETTE>>;
using UniqueWindow = UniqueHandle<HWND, &::DestroyWindow>;
using UniqueMenu = UniqueHandle<HMENU, &::DestroyMenu>;

}  // namespace stratigon::ui
