// The connection calls: each attaches a transport to the link protocol, opens
// it, starts the worker and waits for the initialisation task.
#include "client/VELAECRClient.h"

#include "communication/ICommunication.h"
#include "diagnostics/Trace.h"
#include "diagnostics/VELALogger.h"
#include "diagnostics/common.h"
#include "protocol/TagCatalogue.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
// Texts from the caller may be null; they are logged and used as empty.
const char* textOrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

void releaseDevices(std::vector<char*>& devices) {
    for (char* device : devices)
        delete[] device;
    devices.clear();
}
} // namespace

int CVELAECRClient::initialize() {
    if (m_proto.isOpened() != 0)
        return ret(ECRC_PORTNOTOPENED);
    {
        MutexLock lock(m_pMutex);
        if (m_task != EThreadTask_Idle)
            return ret(ECRC_TASKRUNNING);
        startTask(EThreadTask_Init);
    }
    unsigned char result = 2;
    get_LastResult(result);
    // The worker announces the end of the task; nothing is polled.
    waitForTaskEnd(EThreadTask_Init);
    // Only a worker ends the task: without one it is ended here.
    if (getTask() == EThreadTask_Init)
        resetTask(ECRC_NOTINITED);
    get_LastResult(result);
    if (result == 0)
        return ret(ECRC_OK);
    return ret(static_cast<int>(m_taskResult.load()));
}

int CVELAECRClient::open(const char* port, unsigned int baudRate) {
    Communication::ICommunication* transport =
        Communication::createCommIns(Communication::ECommType_RS232);
    if (transport == nullptr)
        return ret(ECRC_NOTINITED);
    transport->m_port = textOrEmpty(port);
    transport->m_baudRate = baudRate;
    m_proto.setCommunication(transport);
    return m_proto.open(false) == 0 ? ECRC_OK : ECRC_OPENPORTFAILED;
}

int CVELAECRClient::ping() {
    CTLVMessage message;
    if (message.addTag(new CTLVTag(ETag_MsgType, static_cast<unsigned>(EMsgType_PingRequest))) != 0)
        return ECRC_OPENPORTFAILED;
    if (m_proto.sendMessage(message) != 0)
        return ECRC_OPENPORTFAILED;
    message.clear();
    if (m_proto.recvMessage(message) != 0)
        return ECRC_OPENPORTFAILED;
    unsigned type = 0;
    if (message.getTagNumValue(ETag_MsgType, type) != 0 || type != EMsgType_PingResponse)
        return ECRC_OPENPORTFAILED;
    return ECRC_OK;
}

int CVELAECRClient::startConnectedWorker() {
    int code = startThread();
    if (code != ECRC_OK) {
        // No worker would ever serve this connection.
        m_proto.close();
        m_lastResult = 1;
        return code;
    }
    return initialize();
}

void CVELAECRClient::closeConnection() {
    stopThread();
    m_proto.close();
    MutexLock lock(m_pMutex);
    m_currentMsg.clear();
}

void CVELAECRClient::closeBeforeReconnect() {
    // The worker of an open connection must not outlive the transport that
    // the new connection replaces.
    if (hasWorker() || m_proto.isOpened() == 0)
        closeConnection();
}

int CVELAECRClient::CommOpen(const char* port, unsigned int baudRate) {
    char line[128];
    std::snprintf(line, sizeof line, "CommOpen() : sPort = %s, nBaudRate = %i", textOrEmpty(port),
                  static_cast<int>(baudRate));
    CTrace::Write(line);
    VELALogger::WriteShort(line);
    if (port != nullptr && std::strcmp(port, "/dev/IOS") == 0)
        return ret(CommOpenBT());
    closeBeforeReconnect();
    m_commType = 0;
    if (open(port, baudRate) != 0) {
        m_lastResult = 1;
        return ret(ECRC_OPENPORTFAILED);
    }
    return ret(startConnectedWorker());
}

int CVELAECRClient::CommOpenTCP(const char* address, const char* port) {
    VELALogger::WriteShort("call CommOpenTCP()");
    VELALogger::WriteShort(std::string("IP:\t\t\t") + textOrEmpty(address));
    VELALogger::WriteShort(std::string("Port:\t\t") + textOrEmpty(port));
    closeBeforeReconnect();
    m_commType = 1;
    try {
        Communication::ICommunication* transport =
            Communication::createCommIns(Communication::ECommType_TCP);
        if (transport == nullptr) {
            VELALogger::WriteShort("ERROR: Communication not inited");
            return ret(ECRC_NOTINITED);
        }
        transport->m_address = textOrEmpty(address);
        transport->m_port = textOrEmpty(port);
        m_proto.setCommunication(transport);
        if (m_proto.open(false) != 0) {
            m_lastResult = 1;
            return ret(ECRC_OPENPORTFAILED);
        }
        return ret(startConnectedWorker());
    } catch (...) {
        VELALogger::WriteShort("ERROR: Catch exception!");
        return ret(ECRC_NOTINITED);
    }
}

int CVELAECRClient::CommOpenAuto(unsigned int baudRate) {
    VELALogger::WriteShort("call CommOpenAuto()");
    VELALogger::WriteShort("BaudRate:\t" + ToString(static_cast<int>(baudRate)));
    closeBeforeReconnect();
    m_commType = 0;
    std::vector<char*> devices;
    int code = m_proto.enumerate(devices);
    if (code != 0 || devices.empty()) {
        if (code == ECRPC_NOUDEV)
            VELALogger::WriteShort(
                "CommOpenAuto() doesn't support without libudev. Check if it installed");
        releaseDevices(devices);
        return ret(ECRC_ENUMPORTSFAILED);
    }
    bool found = false;
    for (char* device : devices) {
        if (open(device, baudRate) == 0 && ping() == 0) {
            found = true;
            break;
        }
    }
    releaseDevices(devices);
    if (!found)
        return ret(ECRC_OPENPORTFAILED);
    code = startThread();
    if (code != ECRC_OK) {
        m_proto.close();
        m_lastResult = 1;
        return ret(code);
    }
    {
        MutexLock lock(m_pMutex);
        m_isInited = false;
    }
    return ret(initialize());
}

int CVELAECRClient::CommOpenBT() {
    closeBeforeReconnect();
    Communication::ICommunication* transport =
        Communication::createCommIns(Communication::ECommType_BT);
    if (transport == nullptr)
        return ret(ECRC_NOTINITED);
    m_proto.setCommunication(transport);
    if (m_proto.open(false) != 0) {
        m_lastResult = 1;
        return ret(ECRC_OPENPORTFAILED);
    }
    return ret(startConnectedWorker());
}

int CVELAECRClient::CommClose() {
    VELALogger::WriteShort("call CommClose()");
    closeConnection();
    return ret(ECRC_OK);
}
