// An exclusive lock on the file beside a bench's state file, held around each read and
// rewrite of the state file so that processes sharing the bench never undo each other's saves.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace stratigon::sim {

class StateFileLock {
public:
    // Tries for at most `patience` while another process holds the lock: a process that hangs
    // holding it must not hang every other program on the bench too. An empty path locks nothing.
    StateFileLock(const std::filesystem::path& path, std::chrono::milliseconds patience);
    ~StateFileLock();
    StateFileLock(const StateFileLock&) = delete;
    StateFileLock& operator=(const StateFileLock&) = delete;

    bool Held() const { return held_; }
    // Why the lock is not held, or an empty text when it is (or when there was nothing to lock).
    const std::string& Problem() const { return problem_; }

private:
    bool Open(const std::filesystem::path& path);
    bool TryLock();

#if defined(_WIN32)
    void* file_ = nullptr;
#else
    int file_ = -1;
#endif
    bool held_ = false;
    std::string problem_;
};

}  // namespace stratigon::sim
