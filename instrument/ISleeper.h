// The waits of the instrument scan. The real one blocks the calling thread; tests record
// the waits instead of spending them.
#pragma once

namespace stratigon {

class ISleeper {
public:
    virtual ~ISleeper() = default;
    virtual void Sleep(unsigned milliseconds) = 0;
};

// Blocks the calling thread for the whole wait.
class ThreadSleeper final : public ISleeper {
public:
    void Sleep(unsigned milliseconds) override;
};

}  // namespace stratigon
