// cPool, and buffers of the short-string store freed on another thread than the one that took them.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "zozud/core/Pool.h"
#include "zozud/core/Str.h"

using namespace zozud;

// A block freed with one size comes back for any size of the same class,
// last in first out, and never for a size of another class.
TEST(Pool, EachSizeIsServedByTheSmallestClassThatHoldsIt) {
    int cases[][3] = {{1, 8, 9}, {8, 5, 16}, {9, 16, 8}, {17, 32, 33}, {33, 64, 32}, {65, 128, 64}, {100, 128, 64}};
    for (auto& c : cases) {
        unsigned char *p = cPool::Alloc(c[0]), *q = cPool::Alloc(c[0]);
        memset(p, 0xAB, c[0]);
        cPool::Free(q, c[0]);
        cPool::Free(p, c[0]);
        unsigned char* same = cPool::Alloc(c[1]);
        EXPECT_EQ(same, p) << c[0] << " and " << c[1] << " share a class";
        unsigned char* other = cPool::Alloc(c[2]);
        EXPECT_TRUE(other != p && other != q) << c[0] << " and " << c[2];
        EXPECT_EQ(cPool::Alloc(c[1]), q);
        cPool::Free(other, c[2]);
        cPool::Free(q, c[1]);
        cPool::Free(same, c[1]);
    }
    int used = cPool_Debug::UsedCount;
    EXPECT_TRUE(cPool::Alloc(0) == nullptr && cPool::Alloc(-5) == nullptr);
    cPool::Free(nullptr, 16);
    unsigned char* large = cPool::Alloc(129);  // from the heap, not counted
    memset(large, 1, 129);
    EXPECT_EQ(cPool_Debug::UsedCount, used);
    cPool::Free(large, 129);
    EXPECT_EQ(cPool_Debug::UsedCount, used);
}

namespace {

// Random allocations and frees; every live block carries its owner's byte,
// so a block handed to two owners at once is noticed.
void BlockStorm(int seed, int* failures) {
    std::mt19937 rng(seed);
    std::vector<std::pair<unsigned char*, int>> live;
    const unsigned char mark = (unsigned char)(seed + 1);
    for (int op = 0; op < 30000; op++) {
        if (live.size() < 200 && (live.empty() || rng() % 2)) {
            int size = 1 + rng() % 200;
            live.push_back({cPool::Alloc(size), size});
            memset(live.back().first, mark, size);
        } else {
            size_t i = rng() % live.size();
            for (int k = 0; k < live[i].second; k++) *failures += live[i].first[k] != mark;
            cPool::Free(live[i].first, live[i].second);
            live[i] = live.back();
            live.pop_back();
        }
    }
    for (auto& l : live) cPool::Free(l.first, l.second);
}

}  // namespace

TEST(Pool, ManyThreadsShareThePool) {
    int warm = 0;
    BlockStorm(50, &warm);
    int used = cPool_Debug::UsedCount;
    std::vector<int> failures(8, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; t++) threads.emplace_back(BlockStorm, t, &failures[t]);
    for (auto& t : threads) t.join();
    EXPECT_EQ(failures, std::vector<int>(8, 0));
    EXPECT_EQ(cPool_Debug::UsedCount, used);
}

namespace {

std::string Expected(int i) { return std::string(i % 101, char('a' + i % 26)); }

// Buffers of the short-string store that are handed out right now.
int ShortInUse() { return cStr::ShortSlabCount() * 256 - cStr::FreeShortCount(); }

}  // namespace

// A producer makes strings of 0 to 100 characters (short buffers and pool
// blocks of every class) and hands them over; a consumer checks and frees
// them while the producer goes on, so the producer keeps running out of
// free buffers and the consumer keeps having too many. Once both threads
// have ended, every buffer is back and none was handed out twice.
TEST(Pool, BuffersFreedOnAnotherThreadComeBack) {
    cStr warm(Expected(100).c_str());
    int used = cPool_Debug::UsedCount, shortUsed = ShortInUse();
    const int total = 20000;
    std::mutex m;
    std::condition_variable ready;
    std::deque<cStr> queue;
    int failures = 0;
    std::thread producer([&] {
        for (int i = 0; i < total; i++) {
            cStr s(Expected(i).c_str());
            std::lock_guard<std::mutex> lock(m);
            queue.push_back(std::move(s));
            ready.notify_one();
        }
    });
    std::thread consumer([&] {
        for (int i = 0; i < total; i++) {
            std::unique_lock<std::mutex> lock(m);
            ready.wait(lock, [&] { return !queue.empty(); });
            cStr s(std::move(queue.front()));
            queue.pop_front();
            lock.unlock();
            failures += Expected(i) != s.ToChar();
            cStr own(s);  // and one made and freed here
            failures += own != s;
        }
    });
    producer.join();
    consumer.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(cPool_Debug::UsedCount, used);
    EXPECT_EQ(ShortInUse(), shortUsed);
}
