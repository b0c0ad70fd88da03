#include <gtest/gtest.h>

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <vector>

#include "zozud/core/Thread.h"

using namespace zozud;

namespace {

// Polls until the flag is set, at most `ms` milliseconds.
bool WaitForFlag(const std::atomic<bool>& flag, int ms) {
    for (int i = 0; i < ms && !flag; i++) cThread::Sleep(1);
    return flag;
}

struct Counter {
    pthread_mutex_t mutex;
    long            value = 0;   // guarded by mutex
    std::atomic<int> inside{0};  // threads inside the locked section right now
    std::atomic<int> worstInside{0};
};

void CountUnderLock(void* p) {
    auto* c = static_cast<Counter*>(p);
    for (int i = 0; i < 5000; i++) {
        cMutexLock lock(c->mutex);
        int now = ++c->inside;
        if (now > c->worstInside) c->worstInside = now;
        c->value++;
        --c->inside;
    }
}

void SetFlag(void* p) { *static_cast<std::atomic<bool>*>(p) = true; }

void AddThreadId(void* p) { static_cast<std::atomic<unsigned long>*>(p)->fetch_add((unsigned long)pthread_self()); }

// Counts its naps until cancelled (a sleep is a cancellation point). No
// cleanup frames on purpose: the sanitizers trip over unwinding through them.
void NapForever(void* p) {
    auto* naps = static_cast<std::atomic<int>*>(p);
    for (;;) {
        cThread::Sleep(2);
        ++*naps;
    }
}

}  // namespace

TEST(Thread, CpuCountIsTheOnlineProcessorCount) {
    int n = cThread::CpuCount();
    EXPECT_GE(n, 1);
    long online = sysconf(_SC_NPROCESSORS_ONLN);
    EXPECT_EQ(online < 1 ? 1 : online, n);
    EXPECT_EQ(n, cThread::CpuCount());
}

TEST(Thread, ThreadsRunTheirFunctionAndJoin) {
    std::atomic<unsigned long> sum{0};
    std::vector<unsigned long> handles;
    for (int i = 0; i < 16; i++) {
        unsigned long h = cThread::CreateThread(AddThreadId, &sum, false, 0);
        ASSERT_NE(0ul, h);
        handles.push_back(h);
    }
    unsigned long expected = 0;
    for (unsigned long h : handles) expected += h;  // each thread adds its own handle
    for (unsigned long& h : handles) {
        cThread::WaitAndDeleteThread(&h);
        EXPECT_EQ(0ul, h);
    }
    EXPECT_EQ(expected, sum.load());

    unsigned long none = 0;  // a zero handle is left alone by every call
    cThread::WaitAndDeleteThread(&none);
    cThread::DeleteThread(&none);
    cThread::CancelAndDeleteThread(&none);
    EXPECT_EQ(0ul, none);
    EXPECT_EQ(0ul, cThread::CreateThread(nullptr, nullptr));
}

TEST(Thread, DetachedThreadRunsToCompletion) {
    std::atomic<bool> done{false};
    unsigned long h = cThread::CreateThread(SetFlag, &done);
    ASSERT_NE(0ul, h);
    cThread::DeleteThread(&h);
    EXPECT_EQ(0ul, h);
    EXPECT_TRUE(WaitForFlag(done, 10000));
}

TEST(Thread, CancelledThreadStops) {
    std::atomic<int> naps{0};
    unsigned long h = cThread::CreateThread(NapForever, &naps);
    ASSERT_NE(0ul, h);
    for (int i = 0; i < 10000 && naps < 3; i++) cThread::Sleep(1);
    ASSERT_GE(naps.load(), 3);
    cThread::CancelAndDeleteThread(&h);
    EXPECT_EQ(0ul, h);
    // Stopped: the count holds still over 100 ms (tried for at most 10 s).
    bool still = false;
    for (int i = 0; i < 100 && !still; i++) {
        int before = naps;
        cThread::Sleep(100);
        still = naps == before;
    }
    EXPECT_TRUE(still);
}

TEST(Thread, MutexExcludesEveryOtherThread) {
    Counter c;
    cThread::CreateMutex(c.mutex);
    std::vector<unsigned long> handles;
    for (int i = 0; i < 8; i++) handles.push_back(cThread::CreateThread(CountUnderLock, &c));
    for (unsigned long& h : handles) cThread::WaitAndDeleteThread(&h);
    EXPECT_EQ(8 * 5000, c.value);
    EXPECT_EQ(1, c.worstInside.load());

    // The mutex is plain: a second lock from the owner would block, trylock reports it busy.
    cThread::LockMutex(c.mutex);
    EXPECT_NE(0, pthread_mutex_trylock(&c.mutex));
    cThread::UnlockMutex(c.mutex);
    EXPECT_EQ(0, pthread_mutex_trylock(&c.mutex));
    cThread::UnlockMutex(c.mutex);
    cThread::DeleteMutex(c.mutex);
}

TEST(Thread, SleepLastsAtLeastItsTime) {
    auto start = std::chrono::steady_clock::now();
    cThread::Sleep(30);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, 30);
    cThread::Sleep(0);
}
