// A second automation client for the end-to-end tests: holds "Stratigon.Application" from a
// process of its own until told to let go.
//
//   stratigon-holding-client HOLDING_FILE RELEASE_FILE
//
// Creates HOLDING_FILE once it holds the object, releases it once RELEASE_FILE exists.
#include <windows.h>

#include "Stratigon.h"

int main(int argc, char** argv)
{
    if (argc != 3 || FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    IDispatch* object = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_StratigonApplication, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&object))))
        return 1;
    ::CloseHandle(::CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    while (::GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES)
        ::Sleep(50);
    object->Release();
    ::CoUninitialize();
    return 0;
}
