#pragma once

#include "platform/LinuxThread.h"
#include "platform/Mutex.h"
#include "platform/Thread.h"

class MutexFabric {
public:
    enum Type { Type_Linux = 1 };

    // A new LinuxMutex, owned by the caller.
    static Mutex* createObject();
    // Type_Linux: as createObject(); any other value: null.
    static Mutex* create(Type type);
};

class ThreadFabric {
public:
    enum Type { Type_Linux = 1 };

    ThreadFabric() {}
    ~ThreadFabric() {}

    // A new running LinuxThread, owned by the caller. Returns null when the
    // system could not create the thread, so that no caller waits for a
    // thread that never runs.
    static Thread* createObject(ThreadRoutine fn, void* arg);
    // Type_Linux: as createObject(); any other value: null, no thread.
    static Thread* create(Type type, ThreadRoutine fn, void* arg);
};
