// The registration of a class object with COM as running: made once, withdrawn when the owner
// goes or is told to, so the class object is never left registered behind the program's back.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace stratigon::app {

class CClassObjectRegistration {
public:
    CClassObjectRegistration() = default;
    ~CClassObjectRegistration() { Revoke(); }
    CClassObjectRegistration(const CClassObjectRegistration&) = delete;
    CClassObjectRegistration& operator=(const CClassObjectRegistration&) = delete;

    // As a local server for multiple use: one running program serves every client.
    HRESULT Register(REFCLSID classId, IUnknown* classObject);
    // Nothing to do when nothing is registered.
    void Revoke();

private:
    DWORD m_cookie = 0;
    bool m_registered = false;
};

}  // namespace stratigon::app
