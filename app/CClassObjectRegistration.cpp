#include "app/CClassObjectRegistration.h"

#include <objbase.h>

namespace stratigon::app {

HRESULT CClassObjectRegistration::Register(REFCLSID classId, IUnknown* classObject)
{
    Revoke();
    const HRESULT result = ::CoRegisterClassObject(classId, classObject, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
    m_registered = SUCCEEDED(result);
    return result;
}

void CClassObjectRegistration::Revoke()
{
    if (!m_registered)
        return;
    ::CoRevokeClassObject(m_cookie);
    m_registered = false;
    m_cookie = 0;
}

}  // namespace stratigon::app
