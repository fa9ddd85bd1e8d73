#pragma once

#include "platform/Mutex.h"

#include <pthread.h>

// A default (non-recursive) POSIX mutex held by value.
class LinuxMutex : public Mutex {
public:
    LinuxMutex();
    // Waits until any holder has released the mutex, then destroys it.
    ~LinuxMutex() override;

    int lock() override;
    int unlock() override;

private:
    pthread_mutex_t m_mutex;
};
