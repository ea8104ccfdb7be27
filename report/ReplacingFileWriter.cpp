#include "report/ReplacingFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

#if defined(_WIN32)
// File names are texts in the ANSI code page, as the C runtime's file functions take them; the
// replacing rename must take them the same way, which only the ANSI system call does (the
// standard library's would read every byte as a character of its own). Declared here so that
// the portable core stays free of the platform headers.
extern "C" __declspec(dllimport) int __stdcall MoveFileExA(const char* from, const char* to, unsigned long flags);
extern "C" __declspec(dllimport) unsigned long __stdcall GetLastError();
#endif

namespace stratigon {

namespace {

constexpr std::size_t kShortestTemporaryName = 4;
constexpr int kNameAttempts = 8;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileOwner = std::unique_ptr<std::FILE, FileCloser>;

// A file that did not exist before; null when the name is taken or cannot be made.
FileOwner CreateNew(const std::string& path)
{
#if defined(_WIN32)
    const int descriptor = ::_open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    const int descriptor = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0666);
#endif
    if (descriptor < 0)
        return nullptr;
    FileOwner file(::fdopen(descriptor, "wb"));
    if (!file) {
#if defined(_WIN32)
        ::_close(descriptor);
#else
        ::close(descriptor);
#endif
    }
    return file;
}

bool WriteAll(FileOwner file, std::string_view bytes, std::string& errorText)
{
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         std::fflush(file.get()) == 0;
    if (!written)
        errorText = std::strerror(errno);
    // Closing can be the step that finds the disk full.
    if (std::fclose(file.release()) != 0 && written) {
        errorText = std::strerror(errno);
        return false;
    }
    return written;
}

bool ReplaceWith(const std::string& temporary, const std::string& path, std::string& errorText)
{
#if defined(_WIN32)
    constexpr unsigned long kReplaceExisting = 0x1;
    if (::MoveFileExA(temporary.c_str(), path.c_str(), kReplaceExisting) != 0)
        return true;
    errorText = std::system_category().message(static_cast<int>(::GetLastError()));
#else
    if (std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    errorText = std::strerror(errno);
#endif
    return false;
}

}  // namespace

std::string ReplacingFileWriter::TemporaryPathFor(const std::string& path)
{
    // In the target's own folder, so the final rename never crosses file systems, and no longer
    // than the target's own name, so a path the platform accepts stays accepted.
    static std::mt19937_64 random{std::random_device{}()};
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t folderEnd = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t nameLength = std::max(path.size() - folderEnd, kShortestTemporaryName);
    char digits[20];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(random()));
    std::string name = "~" + std::string(digits).substr(0, std::min<std::size_t>(nameLength - 1, 16));
    return path.substr(0, folderEnd) + name;
}

bool ReplacingFileWriter::Write(const std::string& path, std::string_view bytes, std::string& errorText)
{
    FileOwner file;
    std::string temporary;
    for (int attempt = 0; attempt < kNameAttempts && !file; ++attempt) {
        temporary = TemporaryPathFor(path);
        file = CreateNew(temporary);
        if (!file && errno != EEXIST)
            break;
    }
    if (!file) {
        errorText = std::strerror(errno);
        return false;
    }
    if (!WriteAll(std::move(file), bytes, errorText) || !ReplaceWith(temporary, path, errorText)) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace stratigon
