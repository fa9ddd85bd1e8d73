// The engine's life, result table, task control and the worker loop.
#include "engine/ECRClient.h"

#include "diagnostics/Trace.h"
#include "platform/Fabric.h"

#include <mutex>
#include <new>

namespace {
// The longest the idle worker waits before it looks at the task again.
const std::chrono::milliseconds kIdleLook(250);
// A silent terminal is given this long to echo the check-terminal byte.
const std::chrono::seconds kCheckTermEcho(2);
const unsigned char kCheckTermByte = 0x07;

bool isIdleLike(EThreadTask task) {
    return task == EThreadTask_None || task == EThreadTask_Idle;
}
} // namespace

CECRClient::CECRClient() : m_pMutex(MutexFabric::createObject()) {
    // Without its mutex the engine cannot work: the instance is not made.
    if (m_pMutex == nullptr)
        throw std::bad_alloc();
}

CECRClient::~CECRClient() {
    // Waits for any thread still inside a locked section.
    m_pMutex->lock();
    m_pMutex->unlock();
    delete m_pMutex;
}

int CECRClient::ret(int code) {
    switch (code) {
    case ECRC_OK:
        m_errorKind = 0;
        m_errorCode = 0;
        break;
    case ECRC_OPENPORTFAILED:
        m_errorKind = 1;
        m_errorCode = 1;
        m_lastResult = 1;
        break;
    case ECRC_PORTNOTOPENED:
        m_errorKind = 2;
        m_errorCode = 2;
        m_lastResult = 1;
        break;
    case ECRC_ENUMPORTSFAILED:
    case ECRC_CONNECTFAILED:
    case ECRC_NOTINITED:
    case ECRC_TASKRUNNING:
    case ECRC_MSGCORRUPTED:
    case ECRC_SMALLBUFFER:
    case ECRC_DISCONNECTED:
    case ECRC_RECVTIMEOUT:
    case ECRC_SENDFAILED:
    case ECRC_TERMCONNERROR:
    case ECRC_UNKNOWN:
    case ECRC_TERMNOANSWER:
        m_errorKind = 3;
        m_errorCode = 3;
        break;
    default:
        m_errorKind = 4;
        m_errorCode = static_cast<std::uint32_t>(code);
        break;
    }
    return code;
}

Thread* CECRClient::createWorker() {
    return ThreadFabric::createObject(CECRClient_threadEntry, this);
}

int CECRClient::startThread() {
    MutexRef ref(m_pMutex);
    std::unique_lock<MutexRef> lock(ref);
    if (m_pThread != nullptr)
        return ECRC_OK;
    m_isThreadStarted = false;
    m_isStopRequested = false;
    // The worker's first act takes the mutex, so it cannot run ahead of the
    // store of its handle.
    m_pThread = createWorker();
    if (m_pThread == nullptr)
        return ECRC_NOTINITED;
    m_taskChanged.wait(lock, [this] { return m_isThreadStarted || m_isStopRequested; });
    return ECRC_OK;
}

void CECRClient::stopThread() {
    Thread* worker;
    {
        MutexLock lock(m_pMutex);
        worker = m_pThread;
        if (worker == nullptr)
            return;
        m_isStopRequested = true;
    }
    m_taskChanged.notify_all();
    worker->join();
    delete worker;
    {
        MutexLock lock(m_pMutex);
        m_pThread = nullptr;
        // A task the stopped worker never ran (a cancel set just before the
        // close) must not reach the terminal of the next connection, nor make
        // its initialisation find the worker busy.
        if (!isIdleLike(m_task))
            m_task = EThreadTask_Idle;
    }
    m_taskChanged.notify_all();
    m_lastResult = 0;
}

bool CECRClient::hasWorker() {
    MutexLock lock(m_pMutex);
    return m_pThread != nullptr;
}

void CECRClient::waitForTaskEnd(EThreadTask task) {
    MutexRef ref(m_pMutex);
    std::unique_lock<MutexRef> lock(ref);
    m_taskChanged.wait(lock, [this, task] { return m_task != task || m_pThread == nullptr; });
}

EThreadTask CECRClient::getTask() {
    MutexLock lock(m_pMutex);
    return m_task;
}

int CECRClient::setTask(EThreadTask task) {
    {
        MutexLock lock(m_pMutex);
        if (!isIdleLike(m_task))
            return ECRC_TASKRUNNING;
        m_task = task;
    }
    m_taskChanged.notify_all();
    return ECRC_OK;
}

int CECRClient::startTask(EThreadTask task) {
    m_task = task;
    m_lastResult = 2;
    // The caller holds the mutex; the worker wakes once it is released.
    m_taskChanged.notify_all();
    return 0;
}

int CECRClient::resetTask(int result) {
    {
        MutexLock lock(m_pMutex);
        m_taskResult = static_cast<std::uint32_t>(result);
        m_task = EThreadTask_Idle;
        ret(result);
        m_isCorrectionRequested = false;
        m_lastResult = result != 0 ? 1 : 0;
        m_isCheckTermRequested = false;
        m_isCheckTermSent = false;
    }
    m_taskChanged.notify_all();
    return 0;
}

int CECRClient::cancelTask() {
    if (isIdleLike(getTask()))
        return 0;
    MutexRef ref(m_pMutex);
    std::unique_lock<MutexRef> lock(ref);
    m_task = EThreadTask_Cancel;
    m_taskChanged.notify_all();
    m_taskChanged.wait(lock, [this] { return m_task == EThreadTask_Idle || m_pThread == nullptr; });
    return 0;
}

int CECRClient::cancelLogic(EThreadTask task) {
    if (task != EThreadTask_Cancel)
        return 1;
    CTrace::Write("CECRClient::cancelLogic | cTask == EThreadTask_Cancel");
    int rc = m_proto.sendAbort();
    {
        MutexLock lock(m_pMutex);
        m_task = EThreadTask_Idle;
    }
    m_taskChanged.notify_all();
    return rc == 0 ? 0 : Communication::COMM_NOTCONNECTED;
}

int CECRClient::initLogic() {
    return 0;
}

bool CECRClient::isInited() {
    MutexLock lock(m_pMutex);
    return m_isInited;
}

void CECRClient::setLastResult(std::uint8_t value) {
    MutexLock lock(m_pMutex);
    m_lastResult = value;
}

int CECRClient::TrnDuringProcess() {
    {
        MutexLock lock(m_pMutex);
        if (!m_isCheckTermRequested)
            return 0;
        m_isCheckTermRequested = false;
    }
    if (m_proto.sendByte(kCheckTermByte) != 0)
        return ECRC_SENDFAILED;
    m_isCheckTermSent = true;
    m_lastRecvTime = std::chrono::steady_clock::now();
    return 0;
}

bool CECRClient::IsPingExpired() {
    return std::chrono::steady_clock::now() - m_lastRecvTime >= kCheckTermEcho;
}

void* CECRClient_threadEntry(void* engine) {
    return CECRClient::threadEntry(engine);
}

void* CECRClient::threadEntry(void* engine) {
    static_cast<CECRClient*>(engine)->threadFunc();
    return nullptr;
}

int CECRClient::threadFunc() {
    {
        // Started and idle in one step: whoever waits for the start may set
        // a task at once. A task set before the worker began stays.
        MutexLock lock(m_pMutex);
        m_isThreadStarted = true;
        m_isCorrectionRequested = false;
        m_isCheckTermRequested = false;
        if (isIdleLike(m_task))
            m_task = EThreadTask_Idle;
    }
    m_taskChanged.notify_all();
    for (;;) {
        EThreadTask task = getTask();
        if (task == EThreadTask_Exit) {
            resetTask(ECRC_OK);
            return 0;
        }
        int cancelled = cancelLogic(task);
        if (cancelled == 0)
            resetTask(ECRC_OK);
        else if (cancelled == Communication::COMM_NOTCONNECTED)
            resetTask(ECRC_DISCONNECTED);
        else
            runTask(task);
        if (m_isStopRequested)
            return 0;
    }
}

void CECRClient::runInitialisation() {
    {
        MutexLock lock(m_pMutex);
        m_isInited = false;
    }
    int result = initLogic();
    if (result == 0) {
        // Set before the result is published: whoever sees the task end
        // successfully may start an operation at once.
        MutexLock lock(m_pMutex);
        m_isInited = true;
    }
    resetTask(result);
}

void CECRClient::idleWait(EThreadTask seen) {
    MutexRef ref(m_pMutex);
    std::unique_lock<MutexRef> lock(ref);
    m_taskChanged.wait_for(lock, kIdleLook,
                           [this, seen] { return m_task != seen || m_isStopRequested; });
}

void CECRClient::runTask(EThreadTask task) {
    switch (task) {
    case EThreadTask_Init:
        runInitialisation();
        return;
    case EThreadTask_Ping:
        resetTask(Ping());
        return;
    case EThreadTask_Confirm:
        resetTask(Confirm());
        return;
    case EThreadTask_Purchase:
        resetTask(Purchase());
        return;
    case EThreadTask_StartScenario:
        resetTask(StartScenario());
        return;
    case EThreadTask_SendFile:
        resetTask(SendFile());
        return;
    case EThreadTask_ReqCurrReceipt:
        resetTask(ReqCurrReceipt());
        return;
    case EThreadTask_ReqDataFile:
        resetTask(ReqDataFile());
        return;
    default:
        break;
    }
    int result = runCatalogued(task);
    if (result < 0)
        idleWait(task); // no operation has this value
    else
        resetTask(result);
}
