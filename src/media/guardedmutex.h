#pragma once

#include <condition_variable>
#include <mutex>

// Which lock guards which field, in a form Clang's thread-safety analysis checks at
// compile time (-Wthread-safety); other compilers see plain code.
#if defined(__clang__)
#define VORLYN_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define VORLYN_THREAD_ANNOTATION(x)
#endif
#define VORLYN_CAPABILITY(x) VORLYN_THREAD_ANNOTATION(capability(x))
#define VORLYN_SCOPED_CAPABILITY VORLYN_THREAD_ANNOTATION(scoped_lockable)
#define VORLYN_GUARDED_BY(x) VORLYN_THREAD_ANNOTATION(guarded_by(x))
#define VORLYN_REQUIRES(...) VORLYN_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define VORLYN_ACQUIRE(...) VORLYN_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define VORLYN_RELEASE(...) VORLYN_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define VORLYN_EXCLUDES(...) VORLYN_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))

namespace media {

// A std::mutex the analysis knows as a lock.
class VORLYN_CAPABILITY("mutex") GuardedMutex
{
public:
    void lock() VORLYN_ACQUIRE() { m.lock(); }
    void unlock() VORLYN_RELEASE() { m.unlock(); }

private:
    friend class GuardedLock;
    std::mutex m;
};

// Holds a GuardedMutex for its scope; waits on condition variables with it.
class VORLYN_SCOPED_CAPABILITY GuardedLock
{
public:
    explicit GuardedLock(GuardedMutex &mutex) VORLYN_ACQUIRE(mutex) : lock(mutex.m) {}
    ~GuardedLock() VORLYN_RELEASE() {}
    GuardedLock(const GuardedLock &) = delete;
    GuardedLock &operator=(const GuardedLock &) = delete;

    // Gives the mutex up until cond is notified (or wakes spuriously); the caller checks
    // its condition again, holding the mutex.
    void wait(std::condition_variable &cond) { cond.wait(lock); }

private:
    std::unique_lock<std::mutex> lock;
};

} // namespace media
