// cPool: the thread-safe small-block allocator behind long strings. Five size
// classes of 8 to 128 bytes, 512 blocks to a chunk, last in first out; larger
// requests go to the heap. Chunks are never returned to the heap. Each thread
// keeps a few free blocks of its own, so most calls take no lock.
#pragma once

namespace zozud {

struct cPool_Debug {
    // Reads as an int: the sum of the per-thread counts, taken under the pool
    // mutex (exact while no other thread allocates).
    struct Counter {
        operator int() const;
    };
    static const Counter UsedCount;  // blocks handed out and not yet returned
};

class cPool {
public:
    static unsigned char* Alloc(int size);                  // null for size < 1
    static void           Free(unsigned char* p, int size); // size must be the one given to Alloc

    static const int ClassCount = 5;
    static const int BlocksPerChunk = 512;
    static const int MaxBlockSize = 128;
};

}  // namespace zozud
