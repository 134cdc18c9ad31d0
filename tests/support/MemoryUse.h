// How much of the C runtime's heap is in use, for checks that objects give back what they
// took. Every allocation of the program (new, malloc) comes from that heap.
#pragma once

#include <cstddef>

// Bytes in blocks allocated and not yet freed.
size_t HeapBytesInUse();
