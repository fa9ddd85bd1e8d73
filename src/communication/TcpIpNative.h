#pragma once

#include "communication/ICommunication.h"

namespace Communication {

// Sets (nonBlocking true) or clears O_NONBLOCK on fd. A negative result when
// the flags cannot be read; else 0.
int setBlockingMode(int fd, bool nonBlocking);

// One IPv4 TCP connection to the terminal at m_address:m_port.
class CSeralTCPIP_native : public ICommunication {
public:
    CSeralTCPIP_native();
    ~CSeralTCPIP_native() override;
    CSeralTCPIP_native(const CSeralTCPIP_native&) = delete;
    CSeralTCPIP_native& operator=(const CSeralTCPIP_native&) = delete;

    int commOpen() override;
    int commClose() override;
    int commRead(unsigned char* buffer, unsigned int size, unsigned int& count) override;
    int commWrite(const unsigned char* data, unsigned int length, unsigned int& count) override;
    int isConnected() override;
    int setReadTimeouts(unsigned int seconds, unsigned int milliseconds) override;
    int flush() override;
    int setTraceOpt(bool on) override;

    bool isTimeoutExpired(long start, int seconds);
    int getSocket() const { return m_socket; }

private:
    int connectWithinBudget(int& res);
    int receiveOnce(unsigned char* buffer, unsigned int size, unsigned int& count);

    int m_socket;
};

} // namespace Communication
