// Movable global memory blocks, as the clipboard and OLE data transfer take them.
#pragma once

#include <windows.h>

#include <cstddef>

namespace zv {

// A movable, shareable global block holding a copy of size bytes of data (one zero byte
// when size is 0); nullptr when out of memory.
HGLOBAL NewGlobalBlock(const void* data, std::size_t size);

}  // namespace zv
