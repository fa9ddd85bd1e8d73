#pragma once

#include "engine/ECRCodes.h"
#include "engine/ThreadTask.h"
#include "engine/TransactData.h"
#include "platform/Mutex.h"
#include "platform/Thread.h"
#include "protocol/ECRProto.h"
#include "protocol/TLVMessage.h"

#include <atomic>
#include <cstdint>
#include <ctime>

// The transaction engine: owns the link protocol with its transport, the
// operation parameters, the current result message, the engine mutex and the
// worker thread. A caller's thread sets a task under the mutex; the worker
// runs it and ends it through resetTask, which records the result through the
// virtual ret.
//
// The engine mutex is not recursive and no path takes it twice. ret runs with
// it held (from resetTask) and without it (from the facade), so the
// last-result fields are atomics that ret writes without locking.
class CECRClient {
public:
    CECRClient();
    // Does not stop the worker: the owner calls stopThread() first.
    virtual ~CECRClient();
    CECRClient(const CECRClient&) = delete;
    CECRClient& operator=(const CECRClient&) = delete;

    // Returns code and records its error kind and number (and, for 2 and 5,
    // a failed last result).
    virtual int ret(int code);

    // Worker control. The worker loop is not part of this build yet:
    // startThread() starts nothing, so m_pThread stays null, and stopThread()
    // only acts on a worker that exists.
    void startThread();
    void stopThread();

    EThreadTask getTask();
    // Sets task when the worker is idle (0 or 1): 0; otherwise 7, unchanged.
    int setTask(EThreadTask task);
    // Sets task and marks the last result running. The caller holds the mutex.
    int startTask(EThreadTask task);
    // Ends the current task with result: back to idle, the result recorded
    // through ret, the last result 0 or 1, the request flags cleared.
    int resetTask(int result);
    bool isInited();
    void setLastResult(std::uint8_t value);

protected:
    // True while a worker thread object exists (read under the mutex).
    bool hasWorker();

    CECRProto m_proto;
    std::atomic<std::uint8_t> m_lastResult{0}; // 0 succeeded, 1 failed, 2 running
    std::atomic<std::uint32_t> m_errorKind{0}; // 0..4, see ret
    std::atomic<std::uint32_t> m_errorCode{0}; // selects the error description
    std::uint8_t m_commType = 0;               // 0 serial line, 1 TCP
    std::uint8_t m_errorLang = 0;              // 0 English, 1 Ukrainian, 2 Russian
    bool m_isInited = false;
    CTransactData m_transactData;
    std::uint8_t m_ecrDataType = 0; // data type of a file to send; 2 bitmap
    std::uint8_t m_ecrCommand = 0;  // command sent with a file
    std::uint32_t m_screenNumber = 0;
    std::uint32_t m_imageParams[2] = {0, 0}; // bitmap geometry, sent raw
    Thread* m_pThread = nullptr;             // the worker; null while none runs
    Mutex* m_pMutex;
    bool m_isThreadStarted = false;
    std::atomic<bool> m_isStopRequested{false};
    bool m_isCorrectionRequested = false;
    bool m_isCheckTermRequested = false;
    EThreadTask m_task = EThreadTask_None;
    std::atomic<std::uint32_t> m_taskResult{0};
    CTLVMessage m_currentMsg;
    std::time_t m_lastRecvTime = 0;
    bool m_isCheckTermSent = false;
};
