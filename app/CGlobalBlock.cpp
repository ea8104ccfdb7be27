#include "app/CGlobalBlock.h"

namespace stratigon {

CGlobalBlock::CGlobalBlock(SIZE_T size) : m_block(::GlobalAlloc(GMEM_MOVEABLE, size))
{
    if (m_block != nullptr)
        m_data = ::GlobalLock(m_block);
}

CGlobalBlock::~CGlobalBlock()
{
    if (m_data != nullptr)
        ::GlobalUnlock(m_block);
    if (m_block != nullptr)
        ::GlobalFree(m_block);
}

}  // namespace stratigon
