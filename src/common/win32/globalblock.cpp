#include "common/win32/globalblock.h"

#include <cstring>

namespace zv {

HGLOBAL NewGlobalBlock(const void* data, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, size == 0 ? 1 : size);
    if (block == nullptr)
        return nullptr;
    void* p = GlobalLock(block);
    if (p == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    if (size > 0)
        std::memcpy(p, data, size);
    GlobalUnlock(block);
    return block;
}

}  // namespace zv
