// The small-block pool. Each of the five classes keeps the chunks it cut and
// a free list of blocks; a new chunk pushes its blocks in address order and
// blocks leave from the end, so the most recently freed block is reused first.
// Under AddressSanitizer a block is poisoned while it waits on the free list,
// so a string read after it was freed is reported as it would be on the heap.
#include "zozud/core/Pool.h"

#include <sanitizer/asan_interface.h>

#include "zozud/core/List.h"
#include "zozud/core/Thread.h"

namespace zozud {

int cPool_Debug::UsedCount = 0;

namespace {

// The smallest class whose blocks hold size bytes (1 <= size <= 128).
int ClassIndex(int size) {
    if (size <= 8) return 0;
    return 32 - __builtin_clz(unsigned(size - 1)) - 3;
}

struct PoolClass {
    int                   blockSize;
    int                   blocksPerChunk;
    cList<unsigned char*> chunks;      // every chunk ever cut; never freed
    cList<unsigned char*> freeBlocks;  // blocks ready for use
};

// The mutex ZOZUD_POOL_MUTEX and the class table ZOZUD_POOL are created by
// their first use (during static construction, while one thread runs) and
// never destroyed: strings are still freed while other statics are torn down.
pthread_mutex_t& PoolMutex() {
    static pthread_mutex_t* ZOZUD_POOL_MUTEX = [] {
        auto* m = new pthread_mutex_t;
        cThread::CreateMutex(*m);
        return m;
    }();
    return *ZOZUD_POOL_MUTEX;
}

PoolClass& PoolClassFor(int size) {
    static PoolClass* ZOZUD_POOL = [] {
        auto* t = new PoolClass[cPool::ClassCount];
        for (int i = 0; i < cPool::ClassCount; i++) {
            t[i].blockSize = 8 << i;
            t[i].blocksPerChunk = cPool::BlocksPerChunk;
        }
        return t;
    }();
    return ZOZUD_POOL[ClassIndex(size)];
}

void AddChunk(PoolClass& c) {
    unsigned char* chunk = new unsigned char[(size_t)c.blockSize * c.blocksPerChunk];
    c.chunks.Add(chunk);
    ASAN_POISON_MEMORY_REGION(chunk, (size_t)c.blockSize * c.blocksPerChunk);
    c.freeBlocks.EnsureCapacity(c.freeBlocks.Count() + c.blocksPerChunk, false);
    for (int i = 0; i < c.blocksPerChunk; i++) c.freeBlocks.Add(chunk + i * c.blockSize);
}

}  // namespace

// The hot paths lock the mutex themselves rather than through cMutexLock:
// they are short, cannot fail half-way, and every call counts.
unsigned char* cPool::Alloc(int size) {
    if (size < 1) return nullptr;
    if (size > MaxBlockSize) return new unsigned char[size];
    PoolClass& c = PoolClassFor(size);
    pthread_mutex_t& m = PoolMutex();
    pthread_mutex_lock(&m);
    if (c.freeBlocks.IsEmpty()) AddChunk(c);
    unsigned char* p = c.freeBlocks.GetLast();
    c.freeBlocks.SetCount(c.freeBlocks.Count() - 1);
    cPool_Debug::UsedCount++;
    pthread_mutex_unlock(&m);
    ASAN_UNPOISON_MEMORY_REGION(p, c.blockSize);
    return p;
}

void cPool::Free(unsigned char* p, int size) {
    if (size > MaxBlockSize) {
        delete[] p;
        return;
    }
    if (!p) return;
    PoolClass& c = PoolClassFor(size < 1 ? 1 : size);
    ASAN_POISON_MEMORY_REGION(p, c.blockSize);
    pthread_mutex_t& m = PoolMutex();
    pthread_mutex_lock(&m);
    c.freeBlocks.Add(p);
    cPool_Debug::UsedCount--;
    pthread_mutex_unlock(&m);
}

}  // namespace zozud
