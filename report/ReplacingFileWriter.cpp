#include "report/ReplacingFileWriter.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

namespace stratigon {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileOwner = std::unique_ptr<std::FILE, FileCloser>;

bool WriteAll(const std::string& path, std::string_view bytes, std::string& errorText)
{
    FileOwner file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        errorText = std::strerror(errno);
        return false;
    }
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

}  // namespace

std::string ReplacingFileWriter::TemporaryPathFor(const std::string& path)
{
    // In the target's own folder, so the final rename never crosses file systems.
    static std::atomic<unsigned> counter{0};
    static const unsigned processPart = std::random_device{}();
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".%08x%04x.tmp", processPart, counter++ & 0xFFFFu);
    return path + suffix;
}

bool ReplacingFileWriter::Write(const std::string& path, std::string_view bytes, std::string& errorText)
{
    const std::string temporary = TemporaryPathFor(path);
    if (!WriteAll(temporary, bytes, errorText)) {
        std::remove(temporary.c_str());
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        errorText = error.message();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace stratigon
