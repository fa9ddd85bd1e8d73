#include "communication/TcpIpNative.h"

#include "communication/TraceEcho.h"
#include "diagnostics/VELALogger.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Communication {
namespace {

const int kConnectBudgetSeconds = 3;
const int kConnectWaitSeconds = 15;
// Pause between attempts on a terminal that refuses connections, so that the
// three-second budget is not spent in a tight loop filling the log.
const int kRetryPauseMs = 100;

sockaddr_in terminalAddress(const std::string& address, const std::string& port) {
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<uint16_t>(std::strtol(port.c_str(), nullptr, 10)));
    target.sin_addr.s_addr = inet_addr(address.c_str());
    return target;
}

int waitWritable(int fd) {
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(fd, &writable);
    timeval wait = {kConnectWaitSeconds, 0};
    return select(fd + 1, nullptr, &writable, nullptr, &wait);
}

void pauseBeforeRetry() {
    poll(nullptr, 0, kRetryPauseMs);
}

// A socket whose previous attempt failed reports that failure once more
// (ECONNABORTED) before it accepts a new connect.
int connectOnce(int fd, const sockaddr_in& target) {
    const sockaddr* address = reinterpret_cast<const sockaddr*>(&target);
    int res = connect(fd, address, sizeof target);
    if (res < 0 && errno == ECONNABORTED)
        res = connect(fd, address, sizeof target);
    return res;
}

bool meansConnectionLost(int error) {
    return error == EPIPE || error == EDESTADDRREQ || error == ECONNRESET || error == ENOTCONN;
}

} // namespace

int setBlockingMode(int fd, bool nonBlocking) {
    int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0)
        return flags;
    flags = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    fcntl(fd, F_SETFL, flags);
    return 0;
}

CSeralTCPIP_native::CSeralTCPIP_native() : m_socket(-1) {}

CSeralTCPIP_native::~CSeralTCPIP_native() {
    commClose();
}

bool CSeralTCPIP_native::isTimeoutExpired(long start, int seconds) {
    return std::difftime(std::time(nullptr), static_cast<std::time_t>(start)) >=
           static_cast<double>(seconds);
}

int CSeralTCPIP_native::commOpen() {
    commClose(); // a socket left by an earlier open is not leaked
    m_socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0) {
        m_socket = -1;
        return COMM_NOTOPENED;
    }
    if (setBlockingMode(m_socket, true) < 0)
        return COMM_SOCKETMODE;
    int res = 0;
    int rc = connectWithinBudget(res);
    int error = errno;
    char summary[255];
    std::snprintf(summary, sizeof summary, "error: tcp connect, rc = %d, res = %d, errno = %d", rc,
                  res, error);
    VELALogger::WriteDetailed(summary);
    if (setBlockingMode(m_socket, false) < 0)
        return COMM_SOCKETMODE;
    if (rc == COMM_OK) {
        // The link protocol writes small frames and single ACK bytes; without
        // this each request after an ACK waits for the peer's delayed ACK.
        int on = 1;
        setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        m_isConnected = true;
    }
    return rc;
}

int CSeralTCPIP_native::connectWithinBudget(int& res) {
    const sockaddr_in target = terminalAddress(m_address, m_port);
    const long start = static_cast<long>(std::time(nullptr));
    VELALogger::WriteDetailed("CSeralTCPIP_native::commOpen --> while()");
    int rc = COMM_OK;
    for (bool retry = false;; retry = true) {
        if (retry)
            pauseBeforeRetry();
        if (isTimeoutExpired(start, kConnectBudgetSeconds)) {
            VELALogger::WriteDetailed("CSeralTCPIP_native::commOpen --> while() END");
            return rc;
        }
        res = connectOnce(m_socket, target);
        if (res == 0)
            return COMM_OK;
        if (errno != EINPROGRESS) {
            VELALogger::WriteDetailed("CSeralTCPIP_native::commOpen | COMM_TIMEOUT 4");
            return COMM_NOTOPENED;
        }
        VELALogger::WriteDetailed("CSeralTCPIP_native::commOpen | select()");
        res = waitWritable(m_socket);
        if ((res < 0 && errno == EINTR) || res == 0) {
            VELALogger::WriteDetailed("CSeralTCPIP_native::commOpen | COMM_TIMEOUT 3");
            return COMM_TIMEOUT;
        }
        if (res < 0) {
            VELALogger::WriteDetailed("CSeralTCPIP_native::commOpen | COMM_NOTOPENED");
            rc = COMM_NOTOPENED;
            continue;
        }
        int pending = 0;
        socklen_t length = sizeof pending;
        if (getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &pending, &length) < 0) {
            VELALogger::WriteShort("CSeralTCPIP_native::commOpen | COMM_NOTOPENED 2");
            rc = COMM_NOTOPENED;
            continue;
        }
        if (pending != 0) {
            VELALogger::WriteShort("CSeralTCPIP_native::commOpen | COMM_NOTOPENED 3");
            rc = COMM_NOTOPENED;
            continue;
        }
        return COMM_OK;
    }
}

int CSeralTCPIP_native::commClose() {
    if (m_socket != -1)
        close(m_socket);
    m_socket = -1;
    m_isConnected = false;
    return COMM_OK;
}

int CSeralTCPIP_native::isConnected() {
    if (m_socket == -1)
        return COMM_NOTOPENED;
    return m_isConnected ? COMM_OK : COMM_NOTCONNECTED;
}

int CSeralTCPIP_native::setReadTimeouts(unsigned int seconds, unsigned int milliseconds) {
    if (isConnected() == COMM_NOTCONNECTED)
        return COMM_NOTCONNECTED;
    unsigned long long microseconds = milliseconds * 1000ULL;
    timeval wait = {};
    wait.tv_sec = static_cast<time_t>(seconds + microseconds / 1000000);
    wait.tv_usec = static_cast<suseconds_t>(microseconds % 1000000);
    setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    return COMM_OK;
}

int CSeralTCPIP_native::flush() {
    return COMM_OK;
}

int CSeralTCPIP_native::setTraceOpt(bool on) {
    m_isTraceOn = on;
    return COMM_OK;
}

int CSeralTCPIP_native::commWrite(const unsigned char* data, unsigned int length,
                                  unsigned int& count) {
    int state = isConnected();
    if (state != COMM_OK)
        return state;
    if (m_isTraceOn)
        traceWritten(data, length);
    ssize_t sent = send(m_socket, data, length, MSG_NOSIGNAL);
    if (sent < 0) {
        if (meansConnectionLost(errno))
            m_isConnected = false;
        return COMM_SENDFAILED;
    }
    if (static_cast<size_t>(sent) == length)
        return COMM_OK;
    count = static_cast<unsigned int>(sent);
    return COMM_PARTIALWRITE;
}

int CSeralTCPIP_native::commRead(unsigned char* buffer, unsigned int size, unsigned int& count) {
    int state = isConnected();
    if (state != COMM_OK)
        return state;
    if (size == 0)
        return COMM_INVALIDARG;
    count = 0;
    if (!m_isTraceOn)
        return receiveOnce(buffer, size, count);
    auto readOne = [this](unsigned char& byte) {
        unsigned int got = 0;
        return receiveOnce(&byte, 1, got);
    };
    auto printError = [] {
        std::printf("errno =%d \n", errno);
        std::fflush(stdout);
    };
    return traceRead(buffer, size, count, readOne, printError);
}

// An orderly close by the terminal (recv gives 0) ends the connection: the
// socket would otherwise read as empty at once for ever.
int CSeralTCPIP_native::receiveOnce(unsigned char* buffer, unsigned int size, unsigned int& count) {
    ssize_t received = recv(m_socket, buffer, size, 0);
    if (received > 0) {
        count = static_cast<unsigned int>(received);
        return COMM_OK;
    }
    if (received == 0 || errno == ENOTCONN)
        m_isConnected = false;
    return m_isConnected ? COMM_READTIMEOUT : COMM_NOTCONNECTED;
}

} // namespace Communication
