#include "instrument/SharedBuffers.h"

namespace stratigon {

char ResponseBuffer[kBufferSize];
char CommandBuffer[kBufferSize];
char ScratchBuffer[kBufferSize];

}  // namespace stratigon
