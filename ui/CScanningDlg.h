// The small modeless window that tells the user the instruments are being scanned and how
// many resources have been visited so far.
#pragma once

#include <string>

#include "instrument/IScanProgress.h"
#include "ui/CDialogImpl.h"

namespace stratigon::ui {

class CScanningDlg final : public CDialogImpl<CScanningDlg>, public IScanProgress {
public:
    CScanningDlg();

    // Creates the window without parent, centred, showing a count of 0.
    bool Open();
    void SetDeviceCount(int count) override;
    const std::string& CountText() const { return m_countText; }

protected:
    void OnOK() override {}
    void OnCancel() override {}

private:
    std::string m_countText;
};

}  // namespace stratigon::ui
