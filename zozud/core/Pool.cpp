// The small-block pool. Each of the five classes keeps the chunks it cut and
// a shared free list of blocks; a new chunk pushes its blocks in address
// order and blocks leave from the end, so the most recently freed block is
// reused first.
//
// So that the common Alloc and Free take no lock, every thread keeps up to 64
// free blocks of each class in front of the shared lists, last in first out.
// Only when a thread's cache of a class is empty or full are 32 blocks moved
// from or to the shared list, under ZOZUD_POOL_MUTEX, keeping their order. A
// block freed on another thread than the one that took it joins the cache of
// the thread that frees it; a thread that ends gives its caches back.
//
// cPool_Debug::UsedCount is kept the same way: each thread counts the blocks
// it handed out minus those it took back, and reading the counter adds up
// the live threads' counts and those of the threads that ended.
//
// Under AddressSanitizer a block is poisoned while it is free, so a string
// read after it was freed is reported as it would be on the heap. Blocks are
// multiples of 8 bytes, so no two of them share a shadow byte.
#include "zozud/core/Pool.h"

#include <sanitizer/asan_interface.h>

#include <cstring>

#include "zozud/core/List.h"
#include "zozud/core/Thread.h"

namespace zozud {

namespace {

const int CacheSize = 64;   // free blocks of one class a thread keeps
const int CacheBatch = 32;  // blocks moved to or from a shared list at once

// The smallest class whose blocks hold size bytes (1 <= size <= 128).
int ClassIndex(int size) {
    if (size <= 8) return 0;
    return 32 - __builtin_clz(unsigned(size - 1)) - 3;
}

int BlockSize(int k) { return 8 << k; }

struct PoolClass {
    int                   blockSize;
    int                   blocksPerChunk;
    cList<unsigned char*> chunks;      // every chunk ever cut; never freed
    cList<unsigned char*> freeBlocks;  // blocks ready for use
};

// One thread's free blocks, the most recently freed last. Only the owner
// touches it; used is also read by other threads, so the owner stores it
// atomically (a plain store on the machines we build for).
struct ThreadCache {
    unsigned char* blocks[cPool::ClassCount][CacheSize];
    int            count[cPool::ClassCount];
    int            limit;  // CacheSize while in use; 0 before the first call and after the thread ended
    int            used;   // blocks this thread handed out minus those it took back
    bool           ended;  // the thread is ending: its calls go to the shared lists
};

struct PoolState {
    pthread_mutex_t     mutex;                       // ZOZUD_POOL_MUTEX
    PoolClass           classes[cPool::ClassCount];  // ZOZUD_POOL
    cList<ThreadCache*> caches;                      // the caches of the threads in use
    int                 endedUsed;                   // used of the threads that ended
};

// Zero-initialised and without a destructor, so reaching it costs no check.
thread_local ThreadCache t_cache;

// Created by the first use (during static construction, while one thread
// runs) and never destroyed: strings are still freed while other statics are
// torn down.
PoolState& State() {
    static PoolState* s = [] {
        auto* p = new PoolState;
        cThread::CreateMutex(p->mutex);
        for (int i = 0; i < cPool::ClassCount; i++) {
            p->classes[i].blockSize = BlockSize(i);
            p->classes[i].blocksPerChunk = cPool::BlocksPerChunk;
        }
        p->endedUsed = 0;
        return p;
    }();
    return *s;
}

void AddUsed(ThreadCache& c, int by) { __atomic_store_n(&c.used, c.used + by, __ATOMIC_RELAXED); }

void AddChunk(PoolClass& c) {
    unsigned char* chunk = new unsigned char[(size_t)c.blockSize * c.blocksPerChunk];
    c.chunks.Add(chunk);
    ASAN_POISON_MEMORY_REGION(chunk, (size_t)c.blockSize * c.blocksPerChunk);
    c.freeBlocks.EnsureCapacity(c.freeBlocks.Count() + c.blocksPerChunk, false);
    for (int i = 0; i < c.blocksPerChunk; i++) c.freeBlocks.Add(chunk + i * c.blockSize);
}

// Runs when a thread that used the pool ends: its blocks go back to the
// shared lists, its count to endedUsed, and its later calls (destructors that
// run after this one) use the shared lists directly.
struct CacheOwner {
    ~CacheOwner() {
        PoolState& s = State();
        ThreadCache& c = t_cache;
        cMutexLock lock(s.mutex);
        for (int k = 0; k < cPool::ClassCount; k++) {
            s.classes[k].freeBlocks.AddRange(c.blocks[k], c.count[k]);
            c.count[k] = 0;
        }
        s.endedUsed += c.used;
        AddUsed(c, -c.used);
        c.limit = 0;
        c.ended = true;
        s.caches.Remove(&c);
    }
};

// Under the mutex: the first call of a thread joins its cache to the pool.
void Join(PoolState& s, ThreadCache& c) {
    if (c.limit || c.ended) return;
    static thread_local CacheOwner owner;
    (void)owner;
    c.limit = CacheSize;
    s.caches.Add(&c);
}

// The thread's cache of class k is empty: the top blocks of the shared list
// (a new chunk when there are none) move into it, keeping their order, and
// the topmost is handed out.
__attribute__((noinline)) unsigned char* AllocShared(ThreadCache& c, int k) {
    PoolState& s = State();
    cMutexLock lock(s.mutex);
    Join(s, c);
    PoolClass& pc = s.classes[k];
    if (pc.freeBlocks.IsEmpty()) AddChunk(pc);
    int n = pc.freeBlocks.Count();
    int moved = c.ended ? 0 : (n - 1 < CacheBatch ? n - 1 : CacheBatch);
    unsigned char** top = pc.freeBlocks.GetPtr() + n - 1 - moved;
    memcpy(c.blocks[k], top, sizeof(unsigned char*) * moved);
    c.count[k] = moved;
    unsigned char* p = top[moved];
    pc.freeBlocks.SetCount(n - 1 - moved);
    if (c.ended)
        s.endedUsed++;
    else
        AddUsed(c, 1);
    return p;
}

// The thread's cache of class k is full (or not in use): its older half
// moves to the shared list.
__attribute__((noinline)) void FreeShared(ThreadCache& c, int k, unsigned char* p) {
    PoolState& s = State();
    cMutexLock lock(s.mutex);
    Join(s, c);
    if (c.ended) {
        s.classes[k].freeBlocks.Add(p);
        s.endedUsed--;
        return;
    }
    if (c.count[k] == CacheSize) {
        s.classes[k].freeBlocks.AddRange(c.blocks[k], CacheBatch);
        memmove(c.blocks[k], c.blocks[k] + CacheBatch, sizeof(unsigned char*) * (CacheSize - CacheBatch));
        c.count[k] = CacheSize - CacheBatch;
    }
    c.blocks[k][c.count[k]++] = p;
    AddUsed(c, -1);
}

}  // namespace

const cPool_Debug::Counter cPool_Debug::UsedCount{};

cPool_Debug::Counter::operator int() const {
    PoolState& s = State();
    cMutexLock lock(s.mutex);
    int n = s.endedUsed;
    for (ThreadCache* c : s.caches) n += __atomic_load_n(&c->used, __ATOMIC_RELAXED);
    return n;
}

unsigned char* cPool::Alloc(int size) {
    if (size < 1) return nullptr;
    if (size > MaxBlockSize) return new unsigned char[size];
    int k = ClassIndex(size);
    ThreadCache& c = t_cache;
    int n = c.count[k];
    unsigned char* p;
    if (__builtin_expect(n > 0, 1)) {
        p = c.blocks[k][n - 1];
        c.count[k] = n - 1;
        AddUsed(c, 1);
    } else {
        p = AllocShared(c, k);
    }
    ASAN_UNPOISON_MEMORY_REGION(p, BlockSize(k));
    return p;
}

void cPool::Free(unsigned char* p, int size) {
    if (size > MaxBlockSize) {
        delete[] p;
        return;
    }
    if (!p) return;
    int k = ClassIndex(size < 1 ? 1 : size);
    ASAN_POISON_MEMORY_REGION(p, BlockSize(k));
    ThreadCache& c = t_cache;
    int n = c.count[k];
    if (__builtin_expect(n < c.limit, 1)) {
        c.blocks[k][n] = p;
        c.count[k] = n + 1;
        AddUsed(c, -1);
    } else {
        FreeShared(c, k, p);
    }
}

}  // namespace zozud
