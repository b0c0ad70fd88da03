// cPool: the thread-safe small-block allocator behind long strings. Five size
// classes of 8 to 128 bytes, 512 blocks to a chunk, last in first out; larger
// requests go to the heap. Chunks are never returned to the heap.
#pragma once

namespace zozud {

struct cPool_Debug {
    static int UsedCount;  // blocks handed out and not yet returned (changed under the pool mutex)
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
