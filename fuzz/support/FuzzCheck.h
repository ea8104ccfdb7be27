// The fuzz targets' own checks of what a reader hands back. A broken one ends the run the way
// a crash does, so libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace stratigon::fuzz {

[[noreturn]] inline void CheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
    std::abort();
}

}  // namespace stratigon::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::stratigon::fuzz::CheckFailed(#condition, __FILE__, __LINE__))
