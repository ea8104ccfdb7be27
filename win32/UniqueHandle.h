// Owners for Win32, GDI and COM-allocated handles: one small move-only template, one line per
// handle kind. Cleanup leaves the thread's last-error value as it found it.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace stratigon::win32 {

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
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteGdiObject<HBRUSH>>;
using UniqueWindow = UniqueHandle<HWND, &::DestroyWindow>;
using UniqueKey = UniqueHandle<HKEY, &::RegCloseKey>;
using UniqueModule = UniqueHandle<HMODULE, &::FreeLibrary>;
// A kernel object handle (a file, a process); INVALID_HANDLE_VALUE must not be put in it.
using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle>;
// Memory the system allocated with CoTaskMemAlloc for the caller, such as a known folder's path.
template <class T>
using UniqueTaskMemory = UniqueHandle<T*, &::CoTaskMemFree>;

}  // namespace stratigon::win32
