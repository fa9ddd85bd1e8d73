#include "engine/ECRClient.h"

#include "platform/Fabric.h"

#include <new>

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

void CECRClient::startThread() {
    // The worker loop arrives with the request execution; until then no
    // worker is started and hasWorker() stays false.
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
    worker->join();
    delete worker;
    {
        MutexLock lock(m_pMutex);
        m_pThread = nullptr;
    }
    m_lastResult = 0;
}

bool CECRClient::hasWorker() {
    MutexLock lock(m_pMutex);
    return m_pThread != nullptr;
}

EThreadTask CECRClient::getTask() {
    MutexLock lock(m_pMutex);
    return m_task;
}

int CECRClient::setTask(EThreadTask task) {
    MutexLock lock(m_pMutex);
    if (m_task != EThreadTask_None && m_task != EThreadTask_Idle)
        return ECRC_TASKRUNNING;
    m_task = task;
    return ECRC_OK;
}

int CECRClient::startTask(EThreadTask task) {
    m_task = task;
    m_lastResult = 2;
    return 0;
}

int CECRClient::resetTask(int result) {
    MutexLock lock(m_pMutex);
    m_taskResult = static_cast<std::uint32_t>(result);
    m_task = EThreadTask_Idle;
    ret(result);
    m_isCorrectionRequested = false;
    m_lastResult = result != 0 ? 1 : 0;
    m_isCheckTermRequested = false;
    m_isCheckTermSent = false;
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
