// Owner of a movable global memory block and of its lock: the block stays locked while the
// owner lives and is unlocked and freed when it goes.
#pragma once

#include <windows.h>

namespace stratigon {

class CGlobalBlock {
public:
    explicit CGlobalBlock(SIZE_T size);
    ~CGlobalBlock();
    CGlobalBlock(const CGlobalBlock&) = delete;
    CGlobalBlock& operator=(const CGlobalBlock&) = delete;

    // Null when the block could not be allocated or locked.
    void* Data() const { return m_data; }

private:
    HGLOBAL m_block = nullptr;
    void* m_data = nullptr;
};

}  // namespace stratigon
