#include "TerminalSession.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace velaemu {
namespace {
using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

const int kCopies = 3;
} // namespace

TerminalSession::TerminalSession(int fd, EmulatorState& state, const Waker& waker,
                                 DefaultAnswers& answers)
    : m_fd(fd), m_state(state), m_waker(waker), m_answers(answers) {
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK);
}

template <typename T> T TerminalSession::setting(T EmulatorState::*member) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    return m_state.*member;
}

void TerminalSession::note(const std::string& text) {
    if (m_state.observer)
        m_state.observer(text);
}

void TerminalSession::markIdleUnlessQueued() {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    m_state.busy = !m_state.pushes.empty();
    m_state.changed.notify_all();
}

bool TerminalSession::takePush(Reply& reply) {
    std::lock_guard<std::mutex> lock(m_state.mutex);
    if (m_state.pushes.empty())
        return false;
    reply = std::move(m_state.pushes.front());
    m_state.pushes.pop_front();
    m_state.busy = true;
    return true;
}

bool TerminalSession::serve() {
    while (!m_closed) {
        Reply reply;
        if (takePush(reply)) {
            runReply(reply, nullptr);
            continue;
        }
        if (!m_pending.empty()) {
            Request request = m_pending.front();
            m_pending.pop_front();
            runReply(replyFor(request), &request);
            continue;
        }
        if (m_inputPos == m_input.size())
            markIdleUnlessQueued();
        std::uint8_t byte = 0;
        Read outcome = readByte(byte, -1, true);
        if (outcome == Read::Byte)
            serveByte(byte);
    }
    return m_closedByScript;
}

// Moves whatever has arrived into the input buffer, recording it.
bool TerminalSession::fill(int timeoutMs, bool returnOnWake, Read& outcome) {
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int wait = timeoutMs < 0 ? -1 : remainingMs(deadline);
        WaitResult result = waitReadable(m_fd, m_waker, wait);
        if (result == WaitResult::Woken) {
            m_waker.drain();
            if (setting(&EmulatorState::stopping)) {
                m_closed = true;
                outcome = Read::Closed;
                return false;
            }
            if (returnOnWake) {
                outcome = Read::Woken;
                return false;
            }
            continue;
        }
        if (result == WaitResult::Timeout) {
            outcome = Read::Timeout;
            return false;
        }
        std::uint8_t chunk[4096];
        ssize_t n = read(m_fd, chunk, sizeof chunk);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0) {
            m_closed = true;
            outcome = Read::Closed;
            return false;
        }
        m_input.erase(m_input.begin(), m_input.begin() + m_inputPos);
        m_inputPos = 0;
        m_input.insert(m_input.end(), chunk, chunk + n);
        std::lock_guard<std::mutex> lock(m_state.mutex);
        m_state.received.insert(m_state.received.end(), chunk, chunk + n);
        m_state.busy = true;
        m_state.changed.notify_all();
        return true;
    }
}

TerminalSession::Read TerminalSession::readByte(std::uint8_t& byte, int timeoutMs,
                                                bool returnOnWake) {
    if (m_closed)
        return Read::Closed;
    if (m_inputPos == m_input.size()) {
        Read outcome = Read::Byte;
        if (!fill(timeoutMs, returnOnWake, outcome))
            return outcome;
    }
    byte = m_input[m_inputPos++];
    return Read::Byte;
}

// A byte that arrives while no answer byte is awaited.
void TerminalSession::serveByte(std::uint8_t byte) {
    switch (byte) {
    case kSTX:
        receiveFrame();
        break;
    case kCheckByte:
        if (setting(&EmulatorState::echoCheckByte)) {
            note("<- check byte, echoed");
            write(Bytes{kCheckByte}, {});
        } else {
            note("<- check byte, ignored");
        }
        break;
    case kEOT:
        note("<- EOT");
        m_aborted = true;
        break;
    default:
        note("<- stray byte " + hex(Bytes{byte}));
        break;
    }
}

bool TerminalSession::readExactly(Bytes& out, std::size_t count) {
    int timeout = setting(&EmulatorState::byteTimeoutMs);
    out.clear();
    while (out.size() < count) {
        std::uint8_t byte = 0;
        if (readByte(byte, timeout, false) != Read::Byte)
            return false;
        out.push_back(byte);
    }
    return true;
}

int TerminalSession::nextFrameAnswer(bool goodChecksum) {
    int answer = kAnswerDefault;
    {
        std::lock_guard<std::mutex> lock(m_state.mutex);
        if (!m_state.frameAnswers.empty()) {
            answer = m_state.frameAnswers.front();
            m_state.frameAnswers.pop_front();
        }
    }
    if (answer == kAnswerDefault)
        answer = goodChecksum ? kACK : kNAK;
    return answer;
}

// Reads the rest of a frame after its lead byte and answers it. An
// acknowledged frame with a good checksum becomes a pending request; it is
// recorded before the ACK goes out, so that a cash register that has its
// ACK finds the request recorded.
void TerminalSession::receiveFrame() {
    Bytes header, body, checksum;
    if (!readExactly(header, 2)) {
        note("<- frame cut short in its length");
        return;
    }
    std::size_t length = header[0] * 256u + header[1];
    if (!readExactly(body, length) || !readExactly(checksum, 1)) {
        note("<- frame cut short (" + std::to_string(length) + " body bytes announced)");
        return;
    }
    bool good = xorOf(body) == checksum[0];
    int answer = nextFrameAnswer(good);
    Request request = parseRequest(body);
    note("<- frame " + hex(body) + (good ? "" : " (bad checksum)"));
    if (good && answer == kACK) {
        m_pending.push_back(request);
        std::lock_guard<std::mutex> lock(m_state.mutex);
        m_state.requests.push_back(request);
        m_state.changed.notify_all();
    }
    if (answer == kAnswerNone) {
        note("-> (no answer)");
        return;
    }
    note("-> " + hex(Bytes{static_cast<std::uint8_t>(answer)}));
    write(Bytes{static_cast<std::uint8_t>(answer)}, {});
}

Reply TerminalSession::replyFor(const Request& request) {
    Responder responder;
    {
        std::lock_guard<std::mutex> lock(m_state.mutex);
        if (!m_state.queuedReplies.empty()) {
            Reply reply = std::move(m_state.queuedReplies.front());
            m_state.queuedReplies.pop_front();
            return reply;
        }
        responder = m_state.responder;
        m_answers.setStatusCount(m_state.statusCount);
    }
    Reply reply;
    if (responder && responder(request, reply))
        return reply;
    return m_answers.answer(request);
}

void TerminalSession::runReply(const Reply& reply, const Request* request) {
    m_aborted = false;
    for (const Step& step : reply) {
        if (m_closed || m_aborted)
            break;
        bool carryOn = true;
        switch (step.kind) {
        case Step::Frame:
            carryOn = sendFrame(step);
            break;
        case Step::Raw:
            note("-> raw " + hex(step.raw));
            carryOn = write(step.raw, step.chunks);
            break;
        case Step::Delay:
            delay(step.ms);
            break;
        case Step::Close:
            closeConnection();
            return;
        }
        if (!carryOn)
            break;
    }
    if (m_aborted && request != nullptr && !m_closed) {
        note("answer aborted by the cash register");
        m_aborted = false;
        for (const Step& step : m_answers.cancelled(*request))
            if (!sendFrame(step))
                break;
    }
    m_aborted = false;
}

// Sends a frame and waits for its acknowledgement, repeating it on NAK.
bool TerminalSession::sendFrame(const Step& step) {
    for (int copy = 0; copy < kCopies; ++copy) {
        std::uint8_t flip = copy < step.badChecksumCopies ? 0xFF : 0x00;
        Bytes frame = buildFrame(step.body, step.lead, flip);
        note("-> frame " + hex(frame));
        if (!write(frame, step.chunks))
            return false;
        if (!step.awaitAck)
            return true;
        switch (awaitAnswer()) {
        case Answer::Ack:
            return true;
        case Answer::Nak:
            continue;
        case Answer::Eot:
            note("<- EOT instead of ACK, answer dropped");
            return false;
        default:
            note("no acknowledgement, answer dropped");
            return false;
        }
    }
    note("three copies refused, answer dropped");
    return false;
}

// Waits for ACK, NAK or EOT; echoes check bytes and takes in frames that the
// cash register sends meanwhile.
TerminalSession::Answer TerminalSession::awaitAnswer() {
    Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(setting(&EmulatorState::ackTimeoutMs));
    for (;;) {
        std::uint8_t byte = 0;
        if (readByte(byte, remainingMs(deadline), false) != Read::Byte)
            return Answer::None;
        switch (byte) {
        case kACK:
            note("<- ACK");
            return Answer::Ack;
        case kNAK:
            note("<- NAK");
            return Answer::Nak;
        case kEOT:
            return Answer::Eot;
        case kSTX:
        case kCheckByte:
            serveByte(byte);
            break;
        default:
            note("<- unexpected answer byte " + hex(Bytes{byte}));
            return Answer::Other;
        }
    }
}

void TerminalSession::delay(int ms) {
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (!m_closed && !m_aborted) {
        std::uint8_t byte = 0;
        if (readByte(byte, remainingMs(deadline), false) != Read::Byte)
            return;
        serveByte(byte);
    }
}

bool TerminalSession::writeChunk(const std::uint8_t* data, std::size_t size) {
    std::size_t written = 0;
    while (written < size) {
        ssize_t n = send(m_fd, data + written, size - written, MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK)
            n = ::write(m_fd, data + written, size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd fds[2] = {{m_fd, POLLOUT, 0}, {m_waker.fd(), POLLIN, 0}};
            poll(fds, 2, 100);
            if (setting(&EmulatorState::stopping))
                return false;
            continue;
        }
        if (n <= 0) {
            m_closed = true;
            return false;
        }
        std::lock_guard<std::mutex> lock(m_state.mutex);
        m_state.sent.insert(m_state.sent.end(), data + written, data + written + n);
        m_state.changed.notify_all();
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes data in the given chunk sizes, pausing briefly between chunks so
// that the reader sees them arrive separately.
bool TerminalSession::write(const Bytes& data, const std::vector<std::size_t>& chunks) {
    std::size_t offset = 0;
    int gap = setting(&EmulatorState::chunkGapMs);
    for (std::size_t size : chunks) {
        size = std::min(size, data.size() - offset);
        if (size == 0)
            continue;
        if (!writeChunk(data.data() + offset, size))
            return false;
        offset += size;
        std::this_thread::sleep_for(std::chrono::milliseconds(gap));
    }
    return offset == data.size() || writeChunk(data.data() + offset, data.size() - offset);
}

void TerminalSession::closeConnection() {
    note("closing the connection");
    shutdown(m_fd, SHUT_RDWR);
    m_closed = true;
    m_closedByScript = true;
}

} // namespace velaemu
