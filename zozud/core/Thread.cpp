#include "zozud/core/Thread.h"

#include <errno.h>
#include <time.h>
#include <unistd.h>

#include <new>

namespace zozud {

// Handles travel as unsigned long.
static_assert(sizeof(pthread_t) <= sizeof(unsigned long), "pthread_t must fit a thread handle");

namespace {

int s_CpuCount = -1;

struct ThreadStart {
    void (*fn)(void*);
    void* arg;
};

void* RunThread(void* p) {
    ThreadStart start = *static_cast<ThreadStart*>(p);
    delete static_cast<ThreadStart*>(p);
    start.fn(start.arg);
    return nullptr;
}

}  // namespace

int cThread::CpuCount() {
    int n = __atomic_load_n(&s_CpuCount, __ATOMIC_RELAXED);
    if (n < 0) {
        long online = sysconf(_SC_NPROCESSORS_ONLN);
        n = online < 1 ? 1 : (int)online;
        __atomic_store_n(&s_CpuCount, n, __ATOMIC_RELAXED);
    }
    return n;
}

// nanosleep instead of usleep: no overflow of ms * 1000 for long sleeps, and
// a signal that interrupts the sleep does not shorten it.
void cThread::Sleep(unsigned ms) {
    timespec left;
    left.tv_sec = ms / 1000;
    left.tv_nsec = (long)(ms % 1000) * 1000000L;
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

// The bool and int (start suspended, priority) have no meaning on this platform.
unsigned long cThread::CreateThread(void (*fn)(void*), void* arg, bool, int) {
    pthread_t t;
    if (!fn) return 0;
    auto* start = new (std::nothrow) ThreadStart{fn, arg};
    if (!start) return 0;
    if (pthread_create(&t, nullptr, RunThread, start) != 0) {
        delete start;
        return 0;
    }
    return (unsigned long)t;
}

void cThread::WaitAndDeleteThread(unsigned long* handle) {
    if (!*handle) return;
    pthread_join((pthread_t)*handle, nullptr);
    *handle = 0;
}

void cThread::DeleteThread(unsigned long* handle) {
    if (!*handle) return;
    pthread_detach((pthread_t)*handle);
    *handle = 0;
}

void cThread::CancelAndDeleteThread(unsigned long* handle) {
    if (!*handle) return;
    pthread_cancel((pthread_t)*handle);
    pthread_detach((pthread_t)*handle);
    *handle = 0;
}

void cThread::CreateMutex(pthread_mutex_t& m) { pthread_mutex_init(&m, nullptr); }
void cThread::DeleteMutex(pthread_mutex_t& m) { pthread_mutex_destroy(&m); }
void cThread::LockMutex(pthread_mutex_t& m) { pthread_mutex_lock(&m); }
void cThread::UnlockMutex(pthread_mutex_t& m) { pthread_mutex_unlock(&m); }

}  // namespace zozud
