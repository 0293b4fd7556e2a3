#pragma once
// A mutex and its lock that clang's thread-safety analysis (-Wthread-safety) knows: a member
// marked GUARDED_BY(mutex) is only touched with that mutex held, or the build says where.
// Other compilers see plain std::mutex and std::unique_lock.
#include <chrono>
#include <condition_variable>
#include <mutex>

#if defined(__clang__)
#define MURMORA_THREAD_ATTRIBUTE(attribute) __attribute__((attribute))
#else
#define MURMORA_THREAD_ATTRIBUTE(attribute)
#endif
#define CAPABILITY(name) MURMORA_THREAD_ATTRIBUTE(capability(name))
#define SCOPED_CAPABILITY MURMORA_THREAD_ATTRIBUTE(scoped_lockable)
#define GUARDED_BY(mutex) MURMORA_THREAD_ATTRIBUTE(guarded_by(mutex))
#define ACQUIRE(...) MURMORA_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define RELEASE(...) MURMORA_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))
#define REQUIRES(...) MURMORA_THREAD_ATTRIBUTE(requires_capability(__VA_ARGS__))

namespace murmora::audio {

class CAPABILITY("mutex") Mutex {
public:
    void lock() ACQUIRE() { mutex_.lock(); }
    void unlock() RELEASE() { mutex_.unlock(); }

private:
    friend class Lock;
    std::mutex mutex_;
};

// Holds a Mutex for its scope. It can let it go for a while and take it again, and wait on a
// condition with it: a wait gives the mutex up until it returns, holding it again. Conditions
// are written as loops around wait(), in the function whose lock holds the mutex, where the
// analysis sees them.
class SCOPED_CAPABILITY Lock {
public:
    explicit Lock(Mutex& mutex) ACQUIRE(mutex) : lock_(mutex.mutex_) {}
    ~Lock() RELEASE() {}
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void lock() ACQUIRE() { lock_.lock(); }
    void unlock() RELEASE() { lock_.unlock(); }
    void wait(std::condition_variable& condition) { condition.wait(lock_); }
    // False once `deadline` has passed.
    bool waitUntil(std::condition_variable& condition, std::chrono::steady_clock::time_point deadline) {
        return condition.wait_until(lock_, deadline) == std::cv_status::no_timeout;
    }

private:
    std::unique_lock<std::mutex> lock_;
};

} // namespace murmora::audio
