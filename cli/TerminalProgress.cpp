#include "cli/TerminalProgress.h"

#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#define STRATIGON_ISATTY _isatty
#define STRATIGON_FILENO _fileno
#else
#include <unistd.h>
#define STRATIGON_ISATTY isatty
#define STRATIGON_FILENO fileno
#endif

namespace stratigon::cli {

TerminalProgress::TerminalProgress() : m_enabled(STRATIGON_ISATTY(STRATIGON_FILENO(stderr)) != 0) {}

TerminalProgress::~TerminalProgress()
{
    if (m_shown)
        std::fputc('\n', stderr);
}

void TerminalProgress::SetDeviceCount(int count)
{
    if (!m_enabled)
        return;
    std::fprintf(stderr, "\rScanning for VXI devices... %d devices found", count);
    std::fflush(stderr);
    m_shown = true;
}

}  // namespace stratigon::cli
