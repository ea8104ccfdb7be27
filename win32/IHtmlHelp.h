// The one way the program reaches HTML Help: the application's loader in the program, a
// recorder in the tests.
#pragma once

#include <windows.h>

#include <string>

namespace stratigon::win32 {

class IHtmlHelp {
public:
    // False when HTML Help cannot be had; every call then does nothing.
    virtual bool IsAvailable() = 0;
    // HtmlHelpA with these arguments: the window HTML Help shows, or null.
    virtual HWND Call(HWND caller, const std::string& file, UINT command, DWORD_PTR data) = 0;

protected:
    ~IHtmlHelp() = default;
};

}  // namespace stratigon::win32
