#include "TerminalLink.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace velaemu {

Waker::Waker() {
    m_fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

Waker::~Waker() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void Waker::wake() const {
    std::uint64_t one = 1;
    ssize_t n = write(m_fd, &one, sizeof one);
    (void)n; // a full counter already wakes the reader
}

void Waker::drain() const {
    std::uint64_t value = 0;
    ssize_t n = read(m_fd, &value, sizeof value);
    (void)n; // nothing pending is fine
}

WaitResult waitReadable(int fd, const Waker& waker, int timeoutMs) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {waker.fd(), POLLIN, 0}};
    for (;;) {
        int n = poll(fds, 2, timeoutMs);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return WaitResult::Failed;
        if (n == 0)
            return WaitResult::Timeout;
        if (fds[1].revents != 0)
            return WaitResult::Woken;
        return WaitResult::Ready; // readable, hung up or in error: read() tells
    }
}

TcpListener::~TcpListener() {
    close();
}

bool TcpListener::open(std::uint16_t port) {
    m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    int on = 1;
    setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_fd, 4) != 0 ||
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        close();
        return false;
    }
    m_port = ntohs(address.sin_port);
    return true;
}

int TcpListener::accept(const Waker& waker, int timeoutMs) {
    if (m_fd < 0 || waitReadable(m_fd, waker, timeoutMs) != WaitResult::Ready)
        return -1;
    int fd = accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    // A real terminal answers at once; without this an ACK byte followed by
    // a frame would wait for the peer's delayed acknowledgement (~40 ms).
    int on = 1;
    if (fd >= 0)
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

void TcpListener::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

PtyEndpoint::~PtyEndpoint() {
    close();
}

bool PtyEndpoint::open() {
    char name[256] = {0};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        return false;
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    termios settings{};
    if (tcgetattr(m_slave, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(m_slave, TCSANOW, &settings);
    }
    m_slavePath = name;
    return true;
}

void PtyEndpoint::close() {
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    std::size_t written = 0;
    while (written < size) {
        ssize_t n = send(fd, data + written, size - written, MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK)
            n = write(fd, data + written, size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace velaemu
