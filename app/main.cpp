// Stratigon.exe: the KVX Stratigon Utility.
#include <windows.h>

#include "app/CStratigonApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    stratigon::app::CStratigonApp application;
    return application.Run();
}
