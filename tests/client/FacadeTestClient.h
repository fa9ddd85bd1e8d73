#pragma once

// The facade with its engine state opened up for tests, and a transport that
// reports itself open, so that the guard can pass without a terminal.
#include "client/VELAECRClient.h"
#include "communication/ICommunication.h"

class OpenTransport : public Communication::ICommunication {
public:
    OpenTransport() { m_isConnected = true; }
    int commOpen() override {
        m_isConnected = true;
        return 0;
    }
    int commClose() override {
        m_isConnected = false;
        return 0;
    }
    int commRead(unsigned char*, unsigned int, unsigned int& count) override {
        count = 0;
        return Communication::COMM_READTIMEOUT;
    }
    int commWrite(const unsigned char*, unsigned int length, unsigned int& count) override {
        count = length;
        return 0;
    }
    int isConnected() override { return m_isConnected ? 0 : Communication::COMM_NOTOPENED; }
    int setReadTimeouts(unsigned int, unsigned int) override { return 0; }
    int flush() override { return 0; }
    int setTraceOpt(bool) override { return 0; }
};

class FacadeTestClient : public CVELAECRClient {
public:
    using CECRClient::m_errorCode;
    using CECRClient::m_errorKind;
    using CECRClient::m_lastResult;
    using CECRClient::m_taskResult;
    using CVELAECRClient::m_lastCode;

    void attachOpenTransport() { m_proto.setCommunication(new OpenTransport()); }

    // An open transport, a finished initialisation and an idle worker: the
    // state a successful connection call leaves.
    void pretendConnected() {
        attachOpenTransport();
        {
            MutexLock lock(m_pMutex);
            m_isInited = true;
        }
        setTask(EThreadTask_Idle);
    }
};
