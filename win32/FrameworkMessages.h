// Two private messages of the classic dialog framework that this program keeps: the status
// bar's prompt request and the What's This hit test, with the framework's own numbers.
#pragma once

#include <windows.h>

namespace stratigon::win32 {

// Show the prompt of string `wParam` in the status bar; the result is the prompt shown before.
inline constexpr UINT kSetMessageString = 0x0362;
// Which help topic lies at the point `lParam` (client coordinates)? Zero: none here, ask the
// parent.
inline constexpr UINT kHelpHitTest = 0x0366;

}  // namespace stratigon::win32
