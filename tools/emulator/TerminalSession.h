#pragma once

// One connection served by the emulated terminal: receives and acknowledges
// the cash register's frames, echoes the check byte, runs the answer steps
// and honours EOT. Runs on the emulator thread only.

#include "DefaultAnswers.h"
#include "EmulatorState.h"
#include "TerminalLink.h"

#include <deque>

namespace velaemu {

class TerminalSession {
public:
    TerminalSession(int fd, EmulatorState& state, const Waker& waker, DefaultAnswers& answers);
    // Serves until the peer leaves, a Close step runs or the emulator stops.
    // Returns true when a Close step ended the session.
    bool serve();

private:
    enum class Read { Byte, Timeout, Woken, Closed };
    enum class Answer { Ack, Nak, Eot, Other, None };

    Read readByte(std::uint8_t& byte, int timeoutMs, bool returnOnWake);
    bool fill(int timeoutMs, bool returnOnWake, Read& outcome);
    void serveByte(std::uint8_t byte);
    void receiveFrame();
    bool readExactly(Bytes& out, std::size_t count);
    int nextFrameAnswer(bool goodChecksum);

    Reply replyFor(const Request& request);
    void runReply(const Reply& reply, const Request* request);
    bool sendFrame(const Step& step);
    Answer awaitAnswer();
    void delay(int ms);
    bool write(const Bytes& data, const std::vector<std::size_t>& chunks);
    bool writeChunk(const std::uint8_t* data, std::size_t size);
    void closeConnection();

    bool takePush(Reply& reply);
    void markIdleUnlessQueued();
    void note(const std::string& text);
    template <typename T> T setting(T EmulatorState::*member);

    int m_fd;
    EmulatorState& m_state;
    const Waker& m_waker;
    DefaultAnswers& m_answers;
    Bytes m_input;
    std::size_t m_inputPos = 0;
    std::deque<Request> m_pending;
    bool m_closed = false;
    bool m_closedByScript = false;
    bool m_aborted = false;
};

} // namespace velaemu
