// The rest of the core's outside world for the fuzz targets: a sink that reads every text it
// is given without showing it, waits that are not spent, a fixed clock, a repeatable random
// source and a scan progress display that shows nothing.
#pragma once

#include <cstdint>
#include <cstring>

#include "instrument/IMessageSink.h"
#include "instrument/IScanProgress.h"
#include "instrument/ISleeper.h"
#include "module/IClock.h"
#include "module/IRandomSource.h"

namespace stratigon::fuzz {

class ReadingSink final : public IMessageSink {
public:
    // Reading the text to its end lets the sanitizer see a text that has none.
    void ShowMessage(const char* text) override { shownLength += std::strlen(text); }
    std::size_t shownLength = 0;
};

class NoSleeper final : public ISleeper {
public:
    void Sleep(unsigned) override {}
};

class NoProgress final : public IScanProgress {
public:
    void SetDeviceCount(int) override {}
};

class FixedClock final : public IClock {
public:
    std::int64_t SecondsSince1970() override { return 1700000000; }
};

// The same draws for every input, so that a crash found once comes back when it runs again.
class RepeatableRandom final : public IRandomSource {
public:
    int Draw() override
    {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 16) % (kMaxValue + 1));
    }

private:
    std::uint32_t m_state = 1;
};

}  // namespace stratigon::fuzz
