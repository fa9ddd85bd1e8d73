#pragma once

// The terminal's end of the connection: a TCP listener on 127.0.0.1 or the
// master side of a pseudo-terminal pair. Every wait can be interrupted
// through a wake-up descriptor, so the emulator thread never blocks beyond
// its stop request.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velaemu {

// An eventfd that interrupts poll() calls of another thread.
class Waker {
public:
    Waker();
    ~Waker();
    Waker(const Waker&) = delete;
    Waker& operator=(const Waker&) = delete;
    int fd() const { return m_fd; }
    void wake() const;
    void drain() const;

private:
    int m_fd = -1;
};

// Outcome of a wait on a descriptor.
enum class WaitResult { Ready, Timeout, Woken, Failed };

// Waits until fd is readable, the waker fires or timeoutMs passes
// (negative: no limit).
WaitResult waitReadable(int fd, const Waker& waker, int timeoutMs);

class TcpListener {
public:
    ~TcpListener();
    // Binds 127.0.0.1:port (0 chooses a free port) and listens. False on failure.
    bool open(std::uint16_t port);
    std::uint16_t port() const { return m_port; }
    int fd() const { return m_fd; }
    // A connected socket, or -1 when woken, timed out or failed.
    int accept(const Waker& waker, int timeoutMs);
    void close();

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

class PtyEndpoint {
public:
    ~PtyEndpoint();
    // Creates the pair in raw mode. The slave stays open here as well, so the
    // master keeps working while the cash register closes and reopens it.
    bool open();
    int masterFd() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }
    void close();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

// Writes all bytes; false when the peer is gone.
bool writeAll(int fd, const std::uint8_t* data, std::size_t size);

} // namespace velaemu
