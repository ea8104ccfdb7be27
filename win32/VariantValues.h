// Filling a VARIANT with what automation members hand back: numbers, truth values, texts from
// the ANSI code page, objects, and arrays of texts that scripts can walk. Each throws
// std::bad_alloc when the platform cannot allocate, leaving the target empty.
#pragma once

#include <string>
#include <vector>

#include "win32/UniqueVariant.h"

namespace stratigon::win32 {

void SetLong(UniqueVariant& target, LONG value);
void SetBool(UniqueVariant& target, bool value);
void SetText(UniqueVariant& target, const std::string& text);
// The VARIANT takes a reference of its own.
void SetObject(UniqueVariant& target, IDispatch* object);
void SetUnknown(UniqueVariant& target, IUnknown* object);
// A one-dimensional array of VARIANTs holding texts, from index 0: VBScript walks only arrays
// of VARIANTs, JScript reads them through VBArray and Python gets a tuple.
void SetTextArray(UniqueVariant& target, const std::vector<std::string>& texts);

}  // namespace stratigon::win32
