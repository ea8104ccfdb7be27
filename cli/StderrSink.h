// The command-line tool's message box: every text the core shows the user goes to standard
// error, one message after the other.
#pragma once

#include "instrument/IMessageSink.h"

namespace stratigon::cli {

class StderrSink final : public IMessageSink {
public:
    void ShowMessage(const char* text) override;
};

}  // namespace stratigon::cli
