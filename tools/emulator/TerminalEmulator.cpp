#include "TerminalEmulator.h"

#include "TerminalLink.h"
#include "TerminalSession.h"

#include <chrono>
#include <unistd.h>

namespace velaemu {

TerminalEmulator::TerminalEmulator() : m_waker(new Waker()) {}

TerminalEmulator::~TerminalEmulator() {
    stop();
}

std::uint16_t TerminalEmulator::startTcp(std::uint16_t port) {
    if (m_thread.joinable())
        return 0;
    m_listener.reset(new TcpListener());
    if (!m_listener->open(port))
        return 0;
    m_thread = std::thread(&TerminalEmulator::runTcp, this);
    return m_listener->port();
}

std::string TerminalEmulator::startPty() {
    if (m_thread.joinable())
        return std::string();
    m_pty.reset(new PtyEndpoint());
    if (!m_pty->open())
        return std::string();
    m_thread = std::thread(&TerminalEmulator::runPty, this);
    return m_pty->slavePath();
}

void TerminalEmulator::stop() {
    {
        std::lock_guard<std::mutex> lock(m_state.mutex);
        m_state.stopping = true;
    }
    wake();
    if (m_thread.joinable())
        m_thread.join();
    m_listener.reset();
    m_pty.reset();
}

void TerminalEmulator::runTcp() {
    DefaultAnswers answers;
    for (;;) {
        WaitResult result = waitReadable(m_listener->fd(), *m_waker, -1);
        if (result == WaitResult::Woken) {
            m_waker->drain();
            std::lock_guard<std::mutex> lock(m_state.mutex);
            if (m_state.stopping)
                return;
            continue;
        }
        int fd = m_listener->accept(*m_waker, 0);
        if (fd < 0)
            continue;
        {
            std::lock_guard<std::mutex> lock(m_state.mutex);
            ++m_state.connections;
            m_state.changed.notify_all();
        }
        TerminalSession(fd, m_state, *m_waker, answers).serve();
        ::close(fd);
        std::lock_guard<std::mutex> lock(m_state.mutex);
        // Whatever was left unread went with the connection.
        m_state.busy = !m_state.pushes.empty();
        m_state.changed.notify_all();
        if (m_state.stopping)
            return;
    }
}

void TerminalEmulator::runPty() {
    DefaultAnswers answers;
    {
        std::lock_guard<std::mutex> lock(m_state.mutex);
        ++m_state.connections;
    }
    TerminalSession(m_pty->masterFd(), m_state, *m_waker, answers).serve();
    // After a scripted close the pair is gone: the cash register sees the
    // line drop, as with an unplugged device.
    m_pty->close();
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.busy = false;
    m_state.changed.notify_all();
}

void TerminalEmulator::wake() {
    m_waker->wake();
}

void TerminalEmulator::queueReply(Reply reply) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.queuedReplies.push_back(std::move(reply));
}

void TerminalEmulator::setResponder(Responder responder) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.responder = std::move(responder);
}

void TerminalEmulator::push(Reply reply) {
    {
        std::lock_guard<std::mutex> lock(m_state.mutex);
        m_state.pushes.push_back(std::move(reply));
        m_state.busy = true;
    }
    wake();
}

void TerminalEmulator::answerNextFrames(std::vector<int> answers) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.frameAnswers.insert(m_state.frameAnswers.end(), answers.begin(), answers.end());
}

void TerminalEmulator::setEchoCheckByte(bool echo) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.echoCheckByte = echo;
}

void TerminalEmulator::setStatusCount(int count) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.statusCount = count;
}

void TerminalEmulator::setAckTimeoutMs(int ms) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.ackTimeoutMs = ms;
}

void TerminalEmulator::setByteTimeoutMs(int ms) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.byteTimeoutMs = ms;
}

void TerminalEmulator::setChunkGapMs(int ms) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.chunkGapMs = ms;
}

void TerminalEmulator::setObserver(std::function<void(const std::string&)> observer) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.observer = std::move(observer);
}

Bytes TerminalEmulator::received() const {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    return m_state.received;
}

Bytes TerminalEmulator::sent() const {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    return m_state.sent;
}

std::vector<Request> TerminalEmulator::requests() const {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    return m_state.requests;
}

int TerminalEmulator::connections() const {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    return m_state.connections;
}

void TerminalEmulator::clearRecords() {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.received.clear();
    m_state.sent.clear();
    m_state.requests.clear();
}

bool TerminalEmulator::waitFor(int timeoutMs, const std::function<bool()>& condition) const {
    std::unique_lock<std::mutex> lock(m_state.mutex);
    return m_state.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), condition);
}

bool TerminalEmulator::waitForRequests(std::size_t count, int timeoutMs) const {
    return waitFor(timeoutMs, [&] { return m_state.requests.size() >= count; });
}

bool TerminalEmulator::waitForReceived(std::size_t bytes, int timeoutMs) const {
    return waitFor(timeoutMs, [&] { return m_state.received.size() >= bytes; });
}

bool TerminalEmulator::waitForSent(std::size_t bytes, int timeoutMs) const {
    return waitFor(timeoutMs, [&] { return m_state.sent.size() >= bytes; });
}

bool TerminalEmulator::waitIdle(int timeoutMs) const {
    return waitFor(timeoutMs, [&] { return !m_state.busy && m_state.pushes.empty(); });
}

} // namespace velaemu
