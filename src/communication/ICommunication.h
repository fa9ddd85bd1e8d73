#pragma once

#include <string>

namespace Communication {

// Result codes of every transport operation.
enum ECommResult {
    COMM_OK = 0,
    COMM_ERROR = 101,
    COMM_NOTIMPLEMENTED = 102,
    COMM_PORTUNAVAILABLE = 103,
    COMM_NOTOPENED = 104,
    COMM_NOTCONNECTED = 105,
    COMM_UDEVFAILED = 106,
    COMM_INVALIDARG = 107,
    COMM_READTIMEOUT = 108,
    COMM_SMALLBUFFER = 109,
    COMM_SENDFAILED = 111,
    COMM_TIMEOUT = 113,
    COMM_SOCKETMODE = 114,
    COMM_UDEVSYMBOL = 115,
    COMM_PARTIALWRITE = 116,
};

// Transport kinds made by createCommIns.
enum ECommType {
    ECommType_RS232 = 1,
    ECommType_TCP = 2,
    ECommType_BT = 3,
};

// The byte channel under the link protocol. The connection members are
// written by the opener before commOpen().
class ICommunication {
public:
    bool m_isTraceOn = false;
    bool m_isConnected = false;
    std::string m_address;
    std::string m_port;
    unsigned int m_baudRate = 0;

    virtual int commOpen() = 0;
    virtual int commClose() = 0;
    // count is set to 0 first; on success at least one byte was read.
    virtual int commRead(unsigned char* buffer, unsigned int size, unsigned int& count) = 0;
    virtual int commWrite(const unsigned char* data, unsigned int length, unsigned int& count) = 0;
    virtual int isConnected() = 0;
    virtual int setReadTimeouts(unsigned int seconds, unsigned int milliseconds) = 0;
    virtual int flush() = 0;
    virtual int setTraceOpt(bool on) = 0;
    virtual ~ICommunication() {}
};

// Type 2 makes a TCP transport, every other value a serial one. Never null.
ICommunication* createCommIns(int type);
// Deletes the transport (which closes it); ignores null.
void destroyCommIns(ICommunication* communication);

} // namespace Communication
