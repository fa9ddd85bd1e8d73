#pragma once

#include "platform/Thread.h"

#include <pthread.h>

typedef void* (*ThreadRoutine)(void*);

// A POSIX thread, started by its constructor.
class LinuxThread : public Thread {
public:
    LinuxThread(ThreadRoutine fn, void* arg);
    // Neither joins nor detaches: the owner joins first.
    ~LinuxThread() override {}

    bool is_joinable() override { return m_joinable; }
    int join() override;
    int detach() override;

    int start(ThreadRoutine fn, void* arg);
    int stop();
    // The pthread_create result of the constructor (0 when the thread runs).
    int startError() const { return m_startError; }

private:
    pthread_t m_handle{};
    bool m_joinable = false;
    int m_startError = 0;
};
