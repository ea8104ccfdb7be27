// Test doubles for the core's outside world: a message sink, a sleeper and a scan progress
// display that record what they were given instead of showing or waiting.
#pragma once

#include <string>
#include <vector>

#include "instrument/IMessageSink.h"
#include "instrument/IScanProgress.h"
#include "instrument/ISleeper.h"

namespace stratigon::test {

class RecordingSink final : public IMessageSink {
public:
    void ShowMessage(const char* text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

class RecordingSleeper final : public ISleeper {
public:
    void Sleep(unsigned milliseconds) override { waits.push_back(milliseconds); }
    std::vector<unsigned> waits;
};

class RecordingProgress final : public IScanProgress {
public:
    void SetDeviceCount(int count) override { counts.push_back(count); }
    std::vector<int> counts;
};

}  // namespace stratigon::test
