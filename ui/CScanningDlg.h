// The small modeless window that tells the user the instruments are being scanned and how
// many resources have been visited so far.
#pragma once

#include "instrument/IScanProgress.h"
#include "win32/CDialogImpl.h"

namespace stratigon::ui {

class CScanningDlg final : public win32::CDialogImpl<CScanningDlg>, public IScanProgress {
public:
    CScanningDlg();

    // Creates the window without parent, centred, showing a count of 0.
    bool Open();
    void SetDeviceCount(int count) override;

protected:
    void OnOK() override {}
    void OnCancel() override {}
};

}  // namespace stratigon::ui
