#include "platform/Fabric.h"

#include "platform/LinuxMutex.h"

#include <new>

Mutex* MutexFabric::createObject() { return new (std::nothrow) LinuxMutex(); }

Mutex* MutexFabric::create(Type type) { return type == Type_Linux ? createObject() : nullptr; }

Thread* ThreadFabric::createObject(ThreadRoutine fn, void* arg) {
    LinuxThread* thread = new (std::nothrow) LinuxThread(fn, arg);
    if (thread != nullptr && thread->startError() != 0) {
        delete thread;
        return nullptr;
    }
    return thread;
}

Thread* ThreadFabric::create(Type type, ThreadRoutine fn, void* arg) {
    return type == Type_Linux ? createObject(fn, arg) : nullptr;
}
