#include "cli/StderrSink.h"

#include <cstdio>

namespace stratigon::cli {

void StderrSink::ShowMessage(const char* text)
{
    m_last = text;
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
}

}  // namespace stratigon::cli
