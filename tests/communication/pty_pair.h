#pragma once

// A pseudo-terminal pair: the transport opens the slave by its path, the test
// plays the device on the master side.
#include <algorithm>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

// Skips the running test where the machine offers no pseudo-terminals.
#define SKIP_WITHOUT_PTY(pty)                                                                      \
    if (!(pty).ok())                                                                               \
    GTEST_SKIP() << "openpty() failed: no pseudo-terminals on this machine"

class PtyPair {
public:
    PtyPair() {
        if (openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) == 0)
            m_path = ttyname(m_slave);
    }
    ~PtyPair() {
        closeMaster();
        if (m_slave >= 0)
            close(m_slave);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }
    int master() const { return m_master; }

    termios lineSettings() const {
        termios t = {};
        tcgetattr(m_slave, &t);
        return t;
    }

    // Bounded wait until bytes written on the master side reach the line.
    bool waitLineReadable(int timeoutMs = 5000) const {
        pollfd p = {m_slave, POLLIN, 0};
        return poll(&p, 1, timeoutMs) == 1;
    }

    void closeMaster() {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
    }

    // Reads exactly count bytes from the master side, waiting at most
    // timeoutMs for each chunk; fewer bytes come back on time-out.
    std::vector<unsigned char> readMaster(size_t count, int timeoutMs = 5000) const {
        std::vector<unsigned char> got;
        unsigned char chunk[4096];
        while (got.size() < count) {
            pollfd p = {m_master, POLLIN, 0};
            if (poll(&p, 1, timeoutMs) <= 0)
                break;
            size_t want = std::min(sizeof chunk, count - got.size());
            ssize_t n = read(m_master, chunk, want);
            if (n <= 0)
                break;
            got.insert(got.end(), chunk, chunk + n);
        }
        return got;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};
