// Calling the automation object as clients do, for the tests in this process and across
// processes alike: late-bound calls with what a client sees of them, and the argument values
// scripts pass.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "win32/ComPtr.h"

namespace stratigon::test {

// The result of an automation error code, as a dual-interface client sees it.
constexpr HRESULT Failure(int code) { return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, code); }

// Argument values; Invoke clears them. A null text is a null BSTR.
VARIANT Text(const wchar_t* text);
VARIANT Text(const char* text);
VARIANT Number(VARTYPE type, double number);
// VT_NULL, or VT_ERROR with DISP_E_PARAMNOTFOUND as scripts pass for a left-out argument.
VARIANT Special(VARTYPE type);

std::string Narrow(BSTR text);

// A BSTR argument that is freed when it goes.
struct Bstr {
    explicit Bstr(const std::string& text);
    ~Bstr() { ::SysFreeString(value); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR value;
};

// What a late-bound client sees of one call.
struct LateCall {
    HRESULT result = E_FAIL;
    std::string value;               // a text, or a number or truth value as text
    std::vector<std::string> texts;  // an array of texts
    win32::ComPtr<IUnknown> object;  // an object
    WORD code = 0;
    HRESULT status = E_FAIL;
    std::string description, source, helpFile;
    DWORD helpContext = 0xdeadbeef;
    UINT argumentError = 0xdeadbeef;
    // An automation error reads as its result code.
    HRESULT Outcome() const { return result == DISP_E_EXCEPTION && code != 0 ? Failure(code) : result; }
};

// Arguments in the order the caller writes them.
LateCall Invoke(IDispatch* object, DISPID id, std::vector<VARIANT> arguments, WORD flags = DISPATCH_METHOD);
// The same by name, as scripts call: the name looked up first.
LateCall Call(IDispatch* object, const wchar_t* name, std::vector<VARIANT> arguments = {},
              WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET);

}  // namespace stratigon::test
