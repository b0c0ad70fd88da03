// cPool: size classes, last-in-first-out reuse, chunk layout, the heap path
// above 128 bytes, the used-block counter, and many threads at once.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "zozud/core/Pool.h"

using namespace zozud;

TEST(Pool, SizesBelowOneGiveNull) {
    int used = cPool_Debug::UsedCount;
    EXPECT_EQ(cPool::Alloc(0), nullptr);
    EXPECT_EQ(cPool::Alloc(-5), nullptr);
    cPool::Free(nullptr, 0);
    cPool::Free(nullptr, 16);
    cPool::Free(nullptr, 4096);
    EXPECT_EQ(cPool_Debug::UsedCount, used);
}

TEST(Pool, EachSizeIsServedByTheSmallestClassThatHoldsIt) {
    // A block freed with one size comes back for any size of the same class,
    // and never for a size of another class.
    struct { int size, sameClass, otherClass; } cases[] = {
        {1, 8, 9}, {8, 5, 16}, {9, 16, 8}, {17, 32, 33}, {33, 64, 32}, {65, 128, 64}, {100, 128, 64}};
    for (auto c : cases) {
        unsigned char* p = cPool::Alloc(c.size);
        ASSERT_NE(p, nullptr);
        memset(p, 0xAB, c.size);
        cPool::Free(p, c.size);
        unsigned char* same = cPool::Alloc(c.sameClass);
        EXPECT_EQ(same, p) << c.size << " and " << c.sameClass << " share a class";
        unsigned char* other = cPool::Alloc(c.otherClass);
        EXPECT_NE(other, p) << c.size << " and " << c.otherClass;
        cPool::Free(other, c.otherClass);
        cPool::Free(same, c.sameClass);
    }
}

TEST(Pool, FreedBlocksAreReusedLastInFirstOut) {
    unsigned char* a = cPool::Alloc(48);
    unsigned char* b = cPool::Alloc(48);
    unsigned char* c = cPool::Alloc(48);
    cPool::Free(a, 48);
    cPool::Free(c, 48);
    cPool::Free(b, 48);
    EXPECT_EQ(cPool::Alloc(48), b);
    EXPECT_EQ(cPool::Alloc(48), c);
    EXPECT_EQ(cPool::Alloc(48), a);
    cPool::Free(a, 48);
    cPool::Free(b, 48);
    cPool::Free(c, 48);
}

TEST(Pool, AFreshChunkHandsOutItsHighestBlockFirst) {
    const int size = 16;
    // Drain the class so that the next request cuts a new chunk.
    std::vector<unsigned char*> drained;
    for (int n = cPool::FreeBlockCount(size); n > 0; n--) drained.push_back(cPool::Alloc(size));
    int chunks = cPool::ChunkCount(size);

    std::vector<unsigned char*> fresh;
    for (int i = 0; i < cPool::BlocksPerChunk; i++) fresh.push_back(cPool::Alloc(size));
    EXPECT_EQ(cPool::ChunkCount(size), chunks + 1);
    EXPECT_EQ(cPool::FreeBlockCount(size), 0);
    for (int i = 1; i < cPool::BlocksPerChunk; i++)
        ASSERT_EQ(fresh[i], fresh[i - 1] - size) << "blocks leave in falling address order";

    for (unsigned char* p : fresh) cPool::Free(p, size);
    for (unsigned char* p : drained) cPool::Free(p, size);
    EXPECT_EQ(cPool::ChunkCount(size), chunks + 1) << "chunks are never returned";
}

TEST(Pool, LargeBlocksComeFromTheHeapAndAreNotCounted) {
    int used = cPool_Debug::UsedCount;
    unsigned char* small = cPool::Alloc(128);
    EXPECT_EQ(cPool_Debug::UsedCount, used + 1);
    unsigned char* large = cPool::Alloc(129);
    ASSERT_NE(large, nullptr);
    memset(large, 1, 129);  // the whole size is usable
    EXPECT_EQ(cPool_Debug::UsedCount, used + 1);
    cPool::Free(large, 129);
    cPool::Free(small, 128);
    EXPECT_EQ(cPool_Debug::UsedCount, used);
    EXPECT_EQ(cPool::FreeBlockCount(129), 0);
}

namespace {

// Allocates and frees blocks of random sizes; every live block carries its
// owner's byte, so a block handed to two owners at once is noticed.
void BlockStorm(int seed, int* failures) {
    std::mt19937 rng(seed);
    struct Live { unsigned char* p; int size; };
    std::vector<Live> live;
    const unsigned char mark = (unsigned char)(seed + 1);
    for (int op = 0; op < 30000; op++) {
        if (live.size() < 200 && (live.empty() || rng() % 2)) {
            int size = 1 + rng() % 200;
            unsigned char* p = cPool::Alloc(size);
            memset(p, mark, size);
            live.push_back({p, size});
        } else {
            size_t i = rng() % live.size();
            for (int k = 0; k < live[i].size; k++)
                if (live[i].p[k] != mark) {
                    (*failures)++;
                    break;
                }
            cPool::Free(live[i].p, live[i].size);
            live[i] = live.back();
            live.pop_back();
        }
    }
    for (Live& l : live) cPool::Free(l.p, l.size);
}

}  // namespace

TEST(Pool, ManyThreadsShareThePool) {
    int warm = 0;
    BlockStorm(50, &warm);
    int used = cPool_Debug::UsedCount;
    const int threadCount = 8;
    std::vector<int> failures(threadCount, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; t++) threads.emplace_back(BlockStorm, t, &failures[t]);
    for (auto& t : threads) t.join();
    for (int t = 0; t < threadCount; t++) EXPECT_EQ(failures[t], 0) << "thread " << t;
    EXPECT_EQ(cPool_Debug::UsedCount, used);
}
