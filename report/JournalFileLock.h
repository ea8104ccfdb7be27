// An exclusive lock between processes on the file beside the install journal, held around each
// append, so that the window, a script's server and the command-line tool never interleave
// their lines. Closing the file gives the lock back, also when its holder is killed.
#pragma once

#include <chrono>
#include <string>

namespace stratigon {

class JournalFileLock {
public:
    // Waits at most `patience` for another holder: one that hangs must not hang installations.
    JournalFileLock(const std::string& path, std::chrono::milliseconds patience);
    ~JournalFileLock();
    JournalFileLock(const JournalFileLock&) = delete;
    JournalFileLock& operator=(const JournalFileLock&) = delete;

    bool Held() const { return m_held; }

private:
    bool TryLock();

    int m_file = -1;
    bool m_held = false;
};

}  // namespace stratigon
