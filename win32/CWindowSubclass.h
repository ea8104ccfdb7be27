// A control of a dialog whose messages a class of ours sees first: the control's window is
// subclassed while the object is attached, and what the class leaves goes on as before.
#pragma once

#include <windows.h>

namespace stratigon::win32 {

class CWindowSubclass {
public:
    CWindowSubclass() = default;
    virtual ~CWindowSubclass() { Detach(); }
    CWindowSubclass(const CWindowSubclass&) = delete;
    CWindowSubclass& operator=(const CWindowSubclass&) = delete;

    bool Attach(HWND window);
    void Detach();
    HWND GetHwnd() const { return m_hwnd; }

protected:
    // Returns true when the message was handled; `result` is then its result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    HWND m_hwnd = nullptr;
};

}  // namespace stratigon::win32
