// The command-line tool's message box: every text the core shows the user goes to standard
// error, one message after the other; the last one is kept for the tool's closing reason.
#pragma once

#include <string>

#include "instrument/IMessageSink.h"

namespace stratigon::cli {

class StderrSink final : public IMessageSink {
public:
    void ShowMessage(const char* text) override;

    const std::string& LastMessage() const { return m_last; }

private:
    std::string m_last;
};

}  // namespace stratigon::cli
