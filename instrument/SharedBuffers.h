// The three character buffers that every module exchange shares, one of each for the whole
// program: answers of queries, formatted commands, and parsed fields and failure texts.
#pragma once

#include <cstddef>

namespace stratigon {

constexpr std::size_t kBufferSize = 256;

extern char ResponseBuffer[kBufferSize];
extern char CommandBuffer[kBufferSize];
extern char ScratchBuffer[kBufferSize];

}  // namespace stratigon
