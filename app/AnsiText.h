// Automation texts cross into the program in the thread's ANSI code page, as the module and
// catalogue texts are: conversions both ways, and the owner of a BSTR.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "ui/UniqueHandle.h"

namespace stratigon::app {

using UniqueBstr = ui::UniqueHandle<BSTR, &::SysFreeString>;

// A null BSTR is an empty text. Characters the code page lacks become its default character.
std::string AnsiFromBstr(BSTR text);
// Throws std::bad_alloc when the BSTR cannot be allocated.
UniqueBstr BstrFromAnsi(const std::string& text);
std::wstring WideFromAnsi(const std::string& text);

}  // namespace stratigon::app
