#include "support/MemoryUse.h"

#include <malloc.h>

size_t HeapBytesInUse() {
    _HEAPINFO block = {};
    size_t used = 0;
    while (_heapwalk(&block) == _HEAPOK) {
        if (block._useflag == _USEDENTRY) {
            used += block._size;
        }
    }
    return used;
}
