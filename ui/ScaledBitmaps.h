// The program's bitmaps as the build draws them for 100, 150 and 200 % display scale, and the
// one of them that a scale asks for.
#pragma once

#include <windows.h>

#include "win32/DpiScale.h"

namespace stratigon::ui {

// The drawing of bitmap `bitmapId` (its 100 % id) for `scale`; a bitmap drawn at one size only
// is its own answer.
UINT BitmapForScale(UINT bitmapId, const win32::DpiScale& scale);

}  // namespace stratigon::ui
