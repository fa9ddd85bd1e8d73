#pragma once

#include "engine/ECRCodes.h"
#include "engine/ThreadTask.h"
#include "engine/TransactData.h"
#include "platform/Mutex.h"
#include "platform/Thread.h"
#include "protocol/ECRProto.h"
#include "protocol/TLVMessage.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <set>
#include <string>

namespace vela {
class CFile;
}

// Kind of file fetched from the terminal, sent as ETag_DataKind.
enum VELA_DATA {
    VELA_DATA_RECEIPT = 1,  // the current receipt, delivered in ETag_Receipt
    VELA_DATA_DATAFILE = 3, // a data file, delivered in ETag_DataFile
};

// Message types that may end an operation.
using MsgTypeSet = std::set<unsigned>;

// The transaction engine: owns the link protocol with its transport, the
// operation parameters, the current result message, the engine mutex and the
// worker thread. A caller's thread sets a task under the mutex; the worker
// runs it and ends it through resetTask, which records the result through the
// virtual ret.
//
// The engine mutex is not recursive and no path takes it twice. ret runs with
// it held (from resetTask) and without it (from the facade), so the
// last-result fields are atomics that ret writes without locking. Nobody
// holds the mutex while waiting for the terminal.
//
// Every change of the task, of the worker's start and of a stop request is
// announced on m_taskChanged, so the idle worker and the callers waiting for
// the worker wake at once instead of polling.
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

    // Starts the worker unless one exists, and returns once it runs with its
    // task set. 0, or 6 (ECRC_NOTINITED) when the thread cannot be created.
    int startThread();
    // Asks the worker to end, joins and deletes it; the last result reads 0.
    void stopThread();

    EThreadTask getTask();
    // Sets task when the worker is idle (0 or 1): 0; otherwise 7, unchanged.
    int setTask(EThreadTask task);
    // Sets task and marks the last result running. The caller holds the mutex.
    int startTask(EThreadTask task);
    // Ends the current task with result: back to idle, the result recorded
    // through ret, the last result 0 or 1, the request flags cleared.
    int resetTask(int result);
    // Synchronous cancel: sets the cancel task and waits until the worker is
    // idle again.
    int cancelTask();
    // With task the cancel task: sends the abort byte and makes the task idle;
    // 0 when the byte went out, 105 when not. Any other task: 1, nothing done.
    int cancelLogic(EThreadTask task);
    int initLogic();
    bool isInited();
    void setLastResult(std::uint8_t value);
    // Sends a requested check-terminal byte and arms the echo watch.
    int TrnDuringProcess();
    // True once 2 seconds have passed since m_lastRecvTime.
    bool IsPingExpired();

    int threadFunc();
    static void* threadEntry(void* engine);

    // The exchanges the worker runs (see ECRExchange.cpp).
    int Run(CTLVMessage& msg);
    int ProcessFinish(const MsgTypeSet& types, CTLVMessage& msg);
    int CheckResult(CTLVMessage& msg);
    bool isAddResultError(CTLVMessage& msg);
    int Ping();
    int Confirm();
    int Purchase();
    int StartScenario();
    int correctTransaction(CTLVMessage& msg);

    // File transfer (see ECRFileTransfer.cpp).
    int SendFile();
    int ReqFile(VELA_DATA kind);
    int ReqCurrReceipt();
    int ReqDataFile();

protected:
    // Makes the worker thread; null when the system cannot create it.
    virtual Thread* createWorker();

    // True while a worker thread object exists (read under the mutex).
    bool hasWorker();
    // Blocks until the worker has ended the task (or no worker runs).
    void waitForTaskEnd(EThreadTask task);

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
    // Bitmap geometry sent with the first block: width, then height.
    std::uint32_t m_imageParams[2] = {0, 0};
    Thread* m_pThread = nullptr; // the worker; null while none runs
    Mutex* m_pMutex;
    bool m_isThreadStarted = false;
    std::atomic<bool> m_isStopRequested{false};
    bool m_isCorrectionRequested = false;
    bool m_isCheckTermRequested = false;
    EThreadTask m_task = EThreadTask_None;
    std::atomic<std::uint32_t> m_taskResult{0};
    CTLVMessage m_currentMsg;
    // When the last check-terminal byte went out or the last status message
    // or answer came in. A monotonic clock: the 2-second echo watch must not
    // follow changes of the wall clock nor lose a second to rounding.
    std::chrono::steady_clock::time_point m_lastRecvTime{};
    bool m_isCheckTermSent = false;
    std::condition_variable_any m_taskChanged;

private:
    // The pass of the worker loop for a task other than exit and cancel.
    void runTask(EThreadTask task);
    // The idle wait: until the task changes, a stop is asked, or 250 ms.
    void idleWait(EThreadTask seen);
    void runInitialisation();
    // The operations whose request the catalogue describes (ECRRequests.cpp).
    int runCatalogued(EThreadTask task);

    // Exchange building blocks (ECRExchange.cpp). Results of the helpers
    // that are not result codes are negative.
    static constexpr int kAnswered = -1;    // the final answer is in hand
    static constexpr int kKeepWaiting = -2; // the exchange goes on
    static constexpr int kNoOperation = -3; // the task value has no operation
    enum class LoopKind { Generic, Purchase, FileSend };
    int sendRequest(CTLVMessage& msg);
    // Receives until the final answer is in msg (kAnswered) or the exchange
    // ends with a result code.
    int awaitAnswer(CTLVMessage& msg, LoopKind kind);
    // The reaction to a receive time-out: kKeepWaiting or a result code.
    int onReceiveTimeout(bool stopEndsWait);
    void keepStatus(CTLVMessage& msg);
    void clearCurrentMsg();
    int runPurchaseLoop(CTLVMessage& msg, const MsgTypeSet& types);
    // A copy of the operation parameters taken under the mutex: the facade
    // may write some of them (corrections, extras) while a request is built.
    CTransactData takeParameters();

    // File transfer steps (ECRFileTransfer.cpp).
    int readBitmapGeometry(const std::string& path);
    int sendFileBlocks(vela::CFile& file, std::uint8_t dataType, std::uint8_t command);
    int awaitFileFetch(CTLVMessage& msg);
};

// Adds the purchase request to msg and sends it: 0, or 13 when the send fails.
int SendPurchase(CTLVMessage& msg, CECRProto& proto, CTransactData& data, unsigned unused);

// The worker's start routine: runs the loop of the engine passed.
void* CECRClient_threadEntry(void* engine);
