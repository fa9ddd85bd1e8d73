#include "platform/LinuxMutex.h"

LinuxMutex::LinuxMutex() { pthread_mutex_init(&m_mutex, nullptr); }

LinuxMutex::~LinuxMutex() {
    lock();
    unlock();
    pthread_mutex_destroy(&m_mutex);
}

int LinuxMutex::lock() { return pthread_mutex_lock(&m_mutex); }

int LinuxMutex::unlock() { return pthread_mutex_unlock(&m_mutex); }
