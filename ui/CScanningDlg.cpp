#include "ui/CScanningDlg.h"

#include <cstdio>

#include "res/resource.h"

namespace stratigon::ui {

CScanningDlg::CScanningDlg() : CDialogImpl(IDD_SCANNING) {}

bool CScanningDlg::Open()
{
    if (!Create(nullptr))
        return false;
    CenterOnScreen();
    SetDeviceCount(0);
    return true;
}

void CScanningDlg::SetDeviceCount(int count)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d devices found", count);
    SetItemText(IDC_DEVICE_COUNT, text);
    // The scan blocks the thread between resources: paint now, not when it is over.
    ::UpdateWindow(GetHwnd());
}

}  // namespace stratigon::ui
