// Stratigon.exe: the KVX Stratigon Utility.
#include <windows.h>

#include "app/CServerRegistration.h"
#include "app/CStratigonApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    using stratigon::app::CServerRegistration;
    if (const auto request = CServerRegistration::RequestOf(commandLine); request != CServerRegistration::Request::None)
        return CServerRegistration::Run(request);
    stratigon::app::CStratigonApp application;
    return application.Run();
}
