// The command-line tool's side of the core's outside world: messages and scan progress go to
// standard error, waits are kept or skipped as the user asked.
#pragma once

#include "instrument/IMessageSink.h"
#include "instrument/IScanProgress.h"
#include "instrument/ISleeper.h"

namespace stratigon::cli {

class StderrSink final : public IMessageSink {
public:
    void ShowMessage(const char* text) override;
};

// Shows "N devices found" on one line of a terminal; says nothing when standard error is
// not a terminal, so logs stay clean.
class TerminalProgress final : public IScanProgress {
public:
    TerminalProgress();
    ~TerminalProgress() override;
    void SetDeviceCount(int count) override;

private:
    bool m_enabled;
    bool m_shown = false;
};

class SkippedWaits final : public ISleeper {
public:
    void Sleep(unsigned) override {}
};

}  // namespace stratigon::cli
