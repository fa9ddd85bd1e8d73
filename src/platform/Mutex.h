#pragma once

// Abstract non-recursive mutex. Locking it twice on one thread blocks for ever.
class Mutex {
public:
    virtual ~Mutex() {}
    virtual int lock() = 0;
    virtual int unlock() = 0;
};

// Scope guard for a Mutex: unlocks on every path out of a block.
class MutexLock {
public:
    explicit MutexLock(Mutex* mutex) : m_mutex(mutex) { m_mutex->lock(); }
    ~MutexLock() { m_mutex->unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    Mutex* m_mutex;
};

// Adapts a Mutex to the standard Lockable interface, so that a
// std::condition_variable_any can release and retake it while waiting.
class MutexRef {
public:
    explicit MutexRef(Mutex* mutex) : m_mutex(mutex) {}
    void lock() { m_mutex->lock(); }
    void unlock() { m_mutex->unlock(); }

private:
    Mutex* m_mutex;
};
