#pragma once

// State shared between the emulator thread and the threads that script and
// inspect it. Every member is guarded by `mutex`; `changed` is notified on
// every change that a waiter may look for.

#include "TerminalScript.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

namespace velaemu {

struct EmulatorState {
    mutable std::mutex mutex;
    std::condition_variable changed;

    // Scripts.
    std::deque<Reply> queuedReplies;
    std::deque<Reply> pushes;
    std::deque<int> frameAnswers;
    Responder responder;
    bool echoCheckByte = true;
    int statusCount = 2;
    int ackTimeoutMs = 6000;
    int byteTimeoutMs = 1500;
    int chunkGapMs = 20;

    // Records.
    Bytes received;
    Bytes sent;
    std::vector<Request> requests;
    int connections = 0;
    bool busy = false;
    bool stopping = false;

    std::function<void(const std::string&)> observer;
};

} // namespace velaemu
