#include "communication/TcpIpNative.h"

#include "diagnostics/VELALogger.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdlib>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

using namespace Communication;

namespace {

// A socket bound to 127.0.0.1 on a port the system chose; listening or not.
class LoopbackPeer {
public:
    explicit LoopbackPeer(bool listening) {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        if (listening)
            listen(m_fd, 1);
    }
    ~LoopbackPeer() {
        closeConnection();
        close(m_fd);
    }
    std::string port() const { return std::to_string(m_port); }

    // Accepts the pending connection (bounded wait).
    bool accept() {
        pollfd p = {m_fd, POLLIN, 0};
        if (poll(&p, 1, 5000) != 1)
            return false;
        m_connection = ::accept(m_fd, nullptr, nullptr);
        return m_connection >= 0;
    }
    int connection() const { return m_connection; }
    // Closes the accepted connection; with reset, the peer sends RST.
    void closeConnection(bool reset = false) {
        if (m_connection < 0)
            return;
        if (reset) {
            linger abort = {1, 0};
            setsockopt(m_connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        }
        close(m_connection);
        m_connection = -1;
    }

private:
    int m_fd = -1;
    int m_connection = -1;
    unsigned short m_port = 0;
};

class TcpOnLoopback : public ::testing::Test {
protected:
    void SetUp() override {
        tcp.m_address = "127.0.0.1";
        tcp.m_port = peer.port();
        ASSERT_EQ(COMM_OK, tcp.commOpen());
        ASSERT_TRUE(peer.accept());
    }
    // Bounded wait until the transport's socket reports the peer's close.
    bool waitForPeerEvent() {
        pollfd p = {tcp.getSocket(), POLLIN, 0};
        return poll(&p, 1, 5000) == 1;
    }

    LoopbackPeer peer{true};
    CSeralTCPIP_native tcp;
};

TEST_F(TcpOnLoopback, ExchangesBytesWithNoDelay) {
    EXPECT_EQ(COMM_OK, tcp.isConnected());
    int noDelay = 0;
    socklen_t length = sizeof noDelay;
    ASSERT_EQ(0, getsockopt(tcp.getSocket(), IPPROTO_TCP, TCP_NODELAY, &noDelay, &length));
    EXPECT_NE(0, noDelay);

    const unsigned char frame[] = {0x02, 0x00, 0x02, 0x41, 0x42, 0x03};
    unsigned int count = 777;
    ASSERT_EQ(COMM_OK, tcp.commWrite(frame, sizeof frame, count));
    EXPECT_EQ(777u, count); // a complete send leaves the count alone
    unsigned char received[sizeof frame] = {};
    ASSERT_EQ(ssize_t(sizeof frame),
              recv(peer.connection(), received, sizeof received, MSG_WAITALL));
    EXPECT_EQ(0, memcmp(frame, received, sizeof frame));

    ASSERT_EQ(ssize_t(sizeof frame), send(peer.connection(), frame, sizeof frame, 0));
    ASSERT_EQ(COMM_OK, tcp.setReadTimeouts(5, 0));
    unsigned char buffer[64];
    std::string got;
    while (got.size() < sizeof frame) {
        ASSERT_EQ(COMM_OK, tcp.commRead(buffer, sizeof buffer, count));
        got.append(reinterpret_cast<char*>(buffer), count);
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(frame), sizeof frame), got);
    EXPECT_EQ(COMM_INVALIDARG, tcp.commRead(buffer, 0, count));

    ASSERT_EQ(COMM_OK, tcp.setReadTimeouts(0, 250));
    EXPECT_EQ(COMM_READTIMEOUT, tcp.commRead(buffer, sizeof buffer, count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(COMM_OK, tcp.isConnected());

    EXPECT_EQ(COMM_OK, tcp.commClose());
    EXPECT_EQ(COMM_OK, tcp.commClose());
    EXPECT_EQ(COMM_NOTOPENED, tcp.isConnected());
    EXPECT_EQ(COMM_NOTOPENED, tcp.commRead(buffer, sizeof buffer, count));
}

TEST_F(TcpOnLoopback, ReadTimeoutsSetTheReceiveOption) {
    const struct {
        unsigned int seconds, ms;
        long expectedUs;
    } table[] = {{0, 250, 250000}, {0, 1500, 1500000}, {0, 6000, 6000000}, {2, 100, 2100000}};
    for (const auto& row : table) {
        ASSERT_EQ(COMM_OK, tcp.setReadTimeouts(row.seconds, row.ms));
        timeval wait = {};
        socklen_t length = sizeof wait;
        ASSERT_EQ(0, getsockopt(tcp.getSocket(), SOL_SOCKET, SO_RCVTIMEO, &wait, &length));
        long us = wait.tv_sec * 1000000L + wait.tv_usec;
        // The kernel keeps the time-out in clock ticks (at most 10 ms each).
        EXPECT_LE(std::labs(us - row.expectedUs), 10000L) << row.ms;
    }
}

// The terminal closing the connection ends it: the read reports the lost
// connection instead of an error that the engine would retry for ever.
TEST_F(TcpOnLoopback, PeerCloseMarksTheConnectionLost) {
    peer.closeConnection();
    ASSERT_EQ(COMM_OK, tcp.setReadTimeouts(5, 0));
    unsigned char buffer[8];
    unsigned int count = 3;
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.commRead(buffer, sizeof buffer, count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.isConnected());
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.commRead(buffer, 0, count));
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.commWrite(buffer, 1, count));
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.setReadTimeouts(0, 250));
}

TEST_F(TcpOnLoopback, FailedSendReportsSendFailedThenNotConnected) {
    peer.closeConnection(true);
    ASSERT_TRUE(waitForPeerEvent());
    const unsigned char ack = 0x06;
    unsigned int count = 0;
    EXPECT_EQ(COMM_SENDFAILED, tcp.commWrite(&ack, 1, count));
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.isConnected());
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.commWrite(&ack, 1, count));
    unsigned char buffer[4];
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.commRead(buffer, sizeof buffer, count));
}

TEST_F(TcpOnLoopback, TraceModeReadEndsAtThePeerClose) {
    ASSERT_EQ(COMM_OK, tcp.setTraceOpt(true));
    const unsigned char bytes[] = {0x15, 0xA0};
    ASSERT_EQ(2, send(peer.connection(), bytes, 2, 0));
    peer.closeConnection();
    ASSERT_EQ(COMM_OK, tcp.setReadTimeouts(5, 0));
    unsigned char buffer[8];
    unsigned int count = 0;
    testing::internal::CaptureStdout();
    int rc = tcp.commRead(buffer, sizeof buffer, count);
    std::string echoed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(COMM_OK, rc);
    EXPECT_EQ(2u, count);
    EXPECT_EQ(0u, echoed.find("Readed from the port:\n15 errno ="));
    EXPECT_NE(std::string::npos, echoed.find("A0 errno ="));
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.isConnected());
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t occurrences(const std::string& text, const std::string& word) {
    size_t found = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++found;
    return found;
}

// A terminal that refuses connections is tried again until the three-second
// budget is spent; every refused attempt leaves a log line.
TEST(TcpConnect, RefusedPortIsRetriedThenReportedNotOpened) {
    char directory[] = "/tmp/vela-tcp-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(directory));
    const std::string logPath = std::string(directory) + "/refused.log";
    gvLoggingInit(logPath, trace);

    LoopbackPeer refusing(false);
    CSeralTCPIP_native tcp;
    tcp.m_address = "127.0.0.1";
    tcp.m_port = refusing.port();
    EXPECT_EQ(COMM_NOTOPENED, tcp.commOpen());
    EXPECT_EQ(COMM_NOTCONNECTED, tcp.isConnected());
    gvLoggingInit("", static_cast<ESeverityLevel>(5));

    std::string log = readFile(logPath);
    EXPECT_GE(occurrences(log, "CSeralTCPIP_native::commOpen | COMM_NOTOPENED 3"), 2u) << log;
    EXPECT_EQ(0u, occurrences(log, "COMM_TIMEOUT"));
    EXPECT_EQ(1u, occurrences(log, "CSeralTCPIP_native::commOpen --> while() END"));
    EXPECT_EQ(1u, occurrences(log, "error: tcp connect, rc = 104, res = "));
    unlink(logPath.c_str());
    rmdir(directory);
}

} // namespace
