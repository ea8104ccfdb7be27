// The scan's progress on one line of a terminal. Says nothing when standard error is not
// a terminal, so logs and scripts see only messages.
#pragma once

#include "instrument/IScanProgress.h"

namespace stratigon::cli {

class TerminalProgress final : public IScanProgress {
public:
    TerminalProgress();
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;
    void SetDeviceCount(int count) override;

private:
    bool m_enabled;
    bool m_shown = false;
};

}  // namespace stratigon::cli
