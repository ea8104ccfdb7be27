// Texts cross into the program in the thread's ANSI code page, as the module and catalogue
// texts are: conversions both ways, the ANSI spelling of a path, and the owner of a BSTR.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "win32/UniqueHandle.h"

namespace stratigon::win32 {

using UniqueBstr = UniqueHandle<BSTR, &::SysFreeString>;

// A null BSTR is an empty text. Characters the code page lacks become its default character.
std::string AnsiFromBstr(BSTR text);
// Throws std::bad_alloc when the BSTR cannot be allocated.
UniqueBstr BstrFromAnsi(const std::string& text);
std::wstring WideFromAnsi(const std::string& text);

// A path the ANSI functions can open: its long name where the code page spells every
// character, else its 8.3 form; empty when neither exists.
std::string AnsiPath(const std::wstring& path);

}  // namespace stratigon::win32
