#include "report/JournalFileLock.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <thread>

#if defined(_WIN32)
#include <io.h>
#include <sys/locking.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace stratigon {

namespace {

constexpr std::chrono::milliseconds kNap{2};

}  // namespace

JournalFileLock::JournalFileLock(const std::string& path, std::chrono::milliseconds patience)
{
#if defined(_WIN32)
    m_file = ::_open(path.c_str(), _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
#else
    m_file = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
#endif
    if (m_file < 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!TryLock() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(kNap);
}

JournalFileLock::~JournalFileLock()
{
    if (m_file < 0)
        return;
#if defined(_WIN32)
    if (m_held) {
        ::_lseek(m_file, 0, SEEK_SET);
        ::_locking(m_file, _LK_UNLCK, 1);
    }
    ::_close(m_file);
#else
    ::close(m_file);
#endif
}

// The first byte of the lock file is the lock; the journal itself stays readable throughout.
bool JournalFileLock::TryLock()
{
#if defined(_WIN32)
    ::_lseek(m_file, 0, SEEK_SET);
    m_held = ::_locking(m_file, _LK_NBLCK, 1) == 0;
#else
    m_held = ::flock(m_file, LOCK_EX | LOCK_NB) == 0;
#endif
    return m_held;
}

}  // namespace stratigon
