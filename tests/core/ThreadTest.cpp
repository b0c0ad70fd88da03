// cThread over POSIX threads.
#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <vector>

#include "zozud/core/Thread.h"

using namespace zozud;

namespace {

struct Counter {
    pthread_mutex_t  mutex;
    long             value = 0;  // guarded by mutex
    std::atomic<int> inside{0}, worstInside{0};
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

void AddThreadId(void* p) { static_cast<std::atomic<unsigned long>*>(p)->fetch_add((unsigned long)pthread_self()); }

// Counts its naps until cancelled (a sleep is a cancellation point).
void NapForever(void* p) {
    for (;;) {
        cThread::Sleep(2);
        ++*static_cast<std::atomic<int>*>(p);
    }
}

}  // namespace

TEST(Thread, ThreadsJoinDetachAndCancel) {
    std::atomic<unsigned long> sum{0};
    std::vector<unsigned long> handles;
    unsigned long expected = 0;
    for (int i = 0; i < 16; i++) {
        handles.push_back(cThread::CreateThread(AddThreadId, &sum, false, 0));
        expected += handles.back();  // each thread adds its own handle
    }
    for (unsigned long& h : handles) cThread::WaitAndDeleteThread(&h);
    EXPECT_EQ(handles, std::vector<unsigned long>(16, 0));
    EXPECT_EQ(expected, sum.load());

    unsigned long detached = cThread::CreateThread(AddThreadId, &sum);
    cThread::DeleteThread(&detached);
    EXPECT_EQ(0ul, detached);
    for (int i = 0; i < 10000 && sum == expected; i++) cThread::Sleep(1);
    EXPECT_NE(expected, sum.load()) << "a detached thread runs to completion";

    std::atomic<int> naps{0};
    unsigned long h = cThread::CreateThread(NapForever, &naps);
    for (int i = 0; i < 10000 && naps < 3; i++) cThread::Sleep(1);
    cThread::CancelAndDeleteThread(&h);
    EXPECT_EQ(0ul, h);
    bool still = false;  // stopped: the count holds still over 100 ms (tried for at most 10 s)
    for (int i = 0; i < 100 && !still; i++) {
        int before = naps;
        cThread::Sleep(100);
        still = naps == before;
    }
    EXPECT_TRUE(still);
    EXPECT_EQ(0ul, cThread::CreateThread(nullptr, nullptr));
}

TEST(Thread, MutexExcludesEveryOtherThread) {
    Counter c;
    cThread::CreateMutex(c.mutex);
    std::vector<unsigned long> handles;
    for (int i = 0; i < 8; i++) handles.push_back(cThread::CreateThread(CountUnderLock, &c));
    for (unsigned long& h : handles) cThread::WaitAndDeleteThread(&h);
    EXPECT_EQ(8 * 5000, c.value);
    EXPECT_EQ(1, c.worstInside.load());

    cThread::LockMutex(c.mutex);  // a plain mutex: busy even for its owner
    EXPECT_NE(0, pthread_mutex_trylock(&c.mutex));
    cThread::UnlockMutex(c.mutex);
    cThread::DeleteMutex(c.mutex);
}
