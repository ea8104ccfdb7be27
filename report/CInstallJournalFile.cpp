#include "report/CInstallJournalFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "report/CsvFields.h"
#include "report/JournalColumns.h"
#include "report/JournalFileLock.h"

namespace stratigon {

namespace {

// Far longer than an append takes; a holder stuck past it must not cost an installation.
constexpr std::chrono::milliseconds kLockPatience{5000};

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

#if defined(_WIN32)
int OpenForAppending(const std::string& path)
{
    return ::_open(path.c_str(), _O_RDWR | _O_CREAT | _O_APPEND | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
long long SizeOf(int file) { return ::_lseeki64(file, 0, SEEK_END); }
bool LastByteIs(int file, long long size, char wanted)
{
    char last = 0;
    return ::_lseeki64(file, size - 1, SEEK_SET) >= 0 && ::_read(file, &last, 1) == 1 && last == wanted;
}
bool WriteWhole(int file, const std::string& bytes)
{
    return ::_write(file, bytes.data(), static_cast<unsigned>(bytes.size())) == static_cast<int>(bytes.size());
}
bool ToDisk(int file) { return ::_commit(file) == 0; }
void Close(int file) { ::_close(file); }
#else
int OpenForAppending(const std::string& path) { return ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666); }
long long SizeOf(int file) { return ::lseek(file, 0, SEEK_END); }
bool LastByteIs(int file, long long size, char wanted)
{
    char last = 0;
    return ::pread(file, &last, 1, size - 1) == 1 && last == wanted;
}
bool WriteWhole(int file, const std::string& bytes)
{
    return ::write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}
bool ToDisk(int file) { return ::fsync(file) == 0; }
void Close(int file) { ::close(file); }
#endif

}  // namespace

CInstallJournalFile::CInstallJournalFile(std::string path) : m_path(std::move(path)) {}

std::string CInstallJournalFile::DefaultPath()
{
    if (const std::string chosen = Variable("STRATIGON_JOURNAL"); !chosen.empty())
        return chosen;
#if defined(_WIN32)
    const std::string programData = Variable("ProgramData");
    return (programData.empty() ? std::string("C:\\ProgramData") : programData) + "\\KVX Stratigon Utility\\install-journal.csv";
#else
    const std::string state = Variable("XDG_STATE_HOME");
    const std::string folder = !state.empty() && state.front() == '/' ? state : Variable("HOME") + "/.local/state";
    return folder + "/stratigon/install-journal.csv";
#endif
}

// A new file starts with the header line; a line that an earlier writer left without its end
// (the power went) is closed first, so that it stays the one torn line and this one is whole.
bool CInstallJournalFile::Append(const InstallRecord& record, std::string& problem)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    const JournalFileLock lock(m_path + ".lock", kLockPatience);
    const int file = OpenForAppending(m_path);
    if (file < 0) {
        problem = m_path + ": " + std::strerror(errno);
        return false;
    }
    const long long size = SizeOf(file);
    std::string bytes = size == 0 ? CsvLine(JournalColumnNames()) : size > 0 && !LastByteIs(file, size, '\n') ? "\r\n" : "";
    bytes += CsvLine(JournalFields(record));
    const bool kept = size >= 0 && WriteWhole(file, bytes) && ToDisk(file);
    if (!kept)
        problem = m_path + ": " + std::strerror(errno);
    Close(file);
    return kept;
}

}  // namespace stratigon
