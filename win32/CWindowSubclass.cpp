#include "win32/CWindowSubclass.h"

#include <commctrl.h>

namespace stratigon::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

bool CWindowSubclass::Attach(HWND window)
{
    Detach();
    if (window == nullptr || !::SetWindowSubclass(window, &CWindowSubclass::Procedure, kSubclassId,
                                                  reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hwnd = window;
    return true;
}

void CWindowSubclass::Detach()
{
    if (m_hwnd != nullptr)
        ::RemoveWindowSubclass(m_hwnd, &CWindowSubclass::Procedure, kSubclassId);
    m_hwnd = nullptr;
}

LRESULT CALLBACK CWindowSubclass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self)
{
    auto* control = reinterpret_cast<CWindowSubclass*>(self);
    if (message == WM_NCDESTROY)
        control->Detach();
    LRESULT result = 0;
    if (message != WM_NCDESTROY && control->OnMessage(message, wParam, lParam, result))
        return result;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace stratigon::win32
