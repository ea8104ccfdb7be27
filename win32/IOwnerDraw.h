// A control that draws itself: the dialog hands it the WM_DRAWITEM requests for its id.
#pragma once

#include <windows.h>

namespace stratigon::win32 {

class IOwnerDraw {
public:
    virtual void DrawItem(const DRAWITEMSTRUCT& item) = 0;

protected:
    ~IOwnerDraw() = default;
};

}  // namespace stratigon::win32
