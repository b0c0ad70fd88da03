// cThread: threads and mutexes over POSIX threads. A thread handle is the
// pthread_t value, 0 for none; mutexes are plain (non-recursive).
#pragma once

#include <pthread.h>

namespace zozud {

class cThread {
public:
    static int  CpuCount();           // online processors, at least 1; cached
    static void Sleep(unsigned ms);

    static unsigned long CreateThread(void (*fn)(void*), void* arg, bool suspended = false, int priority = 0);  // joinable; 0 on failure
    static void WaitAndDeleteThread(unsigned long* handle);    // join; *handle = 0
    static void DeleteThread(unsigned long* handle);           // detach; *handle = 0
    static void CancelAndDeleteThread(unsigned long* handle);  // cancel, detach; *handle = 0

    static void CreateMutex(pthread_mutex_t& m);
    static void DeleteMutex(pthread_mutex_t& m);
    static void LockMutex(pthread_mutex_t& m);
    static void UnlockMutex(pthread_mutex_t& m);
};

// Holds a mutex for the life of a scope.
class cMutexLock {
public:
    explicit cMutexLock(pthread_mutex_t& m) : m_Mutex(m) { cThread::LockMutex(m_Mutex); }
    ~cMutexLock() { cThread::UnlockMutex(m_Mutex); }
    cMutexLock(const cMutexLock&) = delete;
    cMutexLock& operator=(const cMutexLock&) = delete;

private:
    pthread_mutex_t& m_Mutex;
};

}  // namespace zozud
