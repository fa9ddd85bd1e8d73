#include "platform/LinuxThread.h"

LinuxThread::LinuxThread(ThreadRoutine fn, void* arg) {
    m_startError = start(fn, arg);
    m_joinable = true;
}

int LinuxThread::start(ThreadRoutine fn, void* arg) {
    return pthread_create(&m_handle, nullptr, fn, arg);
}

int LinuxThread::join() {
    if (m_startError != 0)
        return m_startError; // no thread was created: nothing to wait for
    return pthread_join(m_handle, nullptr);
}

int LinuxThread::detach() {
    int rc = m_startError != 0 ? m_startError : pthread_detach(m_handle);
    m_joinable = false;
    return rc;
}

int LinuxThread::stop() { return join(); }
