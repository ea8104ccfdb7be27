// The program's own file and folder as Windows names them, whatever their length: a path
// longer than MAX_PATH comes back whole, never cut off.
#pragma once

#include <windows.h>

#include <string>

namespace stratigon::win32 {

// The full path of a module loaded in this process (null: the program); empty only when
// Windows cannot say.
std::wstring ModulePath(HMODULE module);
// The full path of the running program.
inline std::wstring ProgramPath() { return ModulePath(nullptr); }
// The folder that holds the running program, without a trailing backslash.
std::wstring ProgramFolder();

}  // namespace stratigon::win32
