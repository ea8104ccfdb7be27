#include "simulator/StateFileLock.h"

#include <string>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace stratigon::sim {
namespace {

// A save takes a few milliseconds, so a short nap between tries costs the waiter little.
constexpr std::chrono::milliseconds kNap{1};

}  // namespace

StateFileLock::StateFileLock(const std::filesystem::path& path, std::chrono::milliseconds patience)
{
    if (path.empty() || !Open(path)) {
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!TryLock() && problem_.empty()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            problem_ = "another process has held " + path.string() + " for too long";
            return;
        }
        std::this_thread::sleep_for(kNap);
    }
}

bool StateFileLock::Open(const std::filesystem::path& path)
{
#if defined(_WIN32)
    // Every sharing mode: the lock is the byte range, not the open file.
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        problem_ = "cannot open " + path.string() + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    file_ = file;
#else
    file_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (file_ < 0) {
        problem_ = "cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
#endif
    return true;
}

// Closing the file gives the lock back; so does the end of a process killed while holding it.
StateFileLock::~StateFileLock()
{
#if defined(_WIN32)
    if (file_ != nullptr) {
        if (held_) {
            OVERLAPPED start{};
            ::UnlockFileEx(file_, 0, 1, 0, &start);
        }
        ::CloseHandle(file_);
    }
#else
    if (file_ >= 0) {
        ::close(file_);
    }
#endif
}

// False while another process holds the lock; a failure of any other kind sets problem_.
bool StateFileLock::TryLock()
{
#if defined(_WIN32)
    OVERLAPPED start{};
    if (::LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
        held_ = true;
    } else if (const DWORD error = ::GetLastError(); error != ERROR_LOCK_VIOLATION) {
        problem_ = "cannot lock the state file (error " + std::to_string(error) + ")";
    }
#else
    if (::flock(file_, LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
    } else if (errno != EWOULDBLOCK && errno != EINTR) {
        problem_ = std::string("cannot lock the state file: ") + std::strerror(errno);
    }
#endif
    return held_;
}

}  // namespace stratigon::sim
