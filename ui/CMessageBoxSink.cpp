#include "ui/CMessageBoxSink.h"

#include <windows.h>

namespace stratigon::ui {

void CMessageBoxSink::ShowMessage(const char* text)
{
    ::MessageBoxA(::GetActiveWindow(), text, kCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace stratigon::ui
