// The screen position, shared by the whole program, at which the Possible Upgrades dialog and
// the install window open; each of them leaves its last position here when it closes.
#pragma once

#include <windows.h>

namespace stratigon::ui {

extern POINT SharedDialogPosition;

}  // namespace stratigon::ui
