#pragma once

// An emulated payment terminal for tests and manual runs. It listens on
// 127.0.0.1 (TCP) or creates a pseudo-terminal pair (serial), parses the cash
// register's requests, acknowledges frames, echoes the check byte, honours
// EOT and answers every request type with plausible messages (status
// messages first, then the final answer). Tests script it per request and
// read back every byte and every request it received.
//
// All public members may be called from any thread while it runs, except
// setObserver, which belongs before the start.
//
// Typical test use:
//
//   TerminalEmulator terminal;
//   std::uint16_t port = terminal.startTcp();          // connect the library here
//   terminal.nakNextFrames(1);                          // refuse the next request once
//   terminal.queueReply({Step::status(DefaultAnswers::statusMessage(1)),
//                        Step::delay(5000),             // time for a cancel (EOT)
//                        Step::frame(LeMessage().num(1, 2).num(14, 0))});
//   terminal.push({Step::bytes({0x41})});               // garbage, unsolicited
//   terminal.waitForRequests(1, 10000);
//   terminal.requests()[0].number(3);                   // the amount asked for
//   terminal.received();                                // every byte, as sent

#include "EmulatorState.h"

#include <memory>
#include <string>
#include <thread>

namespace velaemu {

class Waker;

class TerminalEmulator {
public:
    TerminalEmulator();
    ~TerminalEmulator();
    TerminalEmulator(const TerminalEmulator&) = delete;
    TerminalEmulator& operator=(const TerminalEmulator&) = delete;

    // Serves TCP connections, one at a time, on 127.0.0.1:port (0 chooses a
    // free port). Returns the port, 0 when it could not listen.
    std::uint16_t startTcp(std::uint16_t port = 0);
    // Creates a pseudo-terminal pair and serves its master side. Returns the
    // path of the slave device for the cash register to open, empty on failure.
    std::string startPty();
    // Ends serving and joins the thread; also done by the destructor.
    void stop();

    // ---- Scripting ----
    // The next request is answered with these steps instead of the default.
    void queueReply(Reply reply);
    // Asked for every request without a queued reply (false: default answer).
    void setResponder(Responder responder);
    // Runs these steps as soon as the terminal is free, without a request.
    void push(Reply reply);
    // Answer bytes for the next frames received (kACK, kNAK, kEOT, any byte,
    // kAnswerNone for silence, kAnswerDefault for the usual ACK/NAK).
    void answerNextFrames(std::vector<int> answers);
    void nakNextFrames(int count) { answerNextFrames(std::vector<int>(count, kNAK)); }
    void setEchoCheckByte(bool echo);
    // Status messages before the final answer of longer operations (default 2).
    void setStatusCount(int count);
    // Wait for ACK after each frame sent (default 6000 ms) and between the
    // bytes of a frame received (default 1500 ms).
    void setAckTimeoutMs(int ms);
    void setByteTimeoutMs(int ms);
    // Pause between the chunks of a split write (default 20 ms).
    void setChunkGapMs(int ms);
    // Receives a line for every event; set it before starting.
    void setObserver(std::function<void(const std::string&)> observer);

    // ---- Records ----
    Bytes received() const;
    Bytes sent() const;
    std::vector<Request> requests() const;
    int connections() const;
    void clearRecords();
    // Bounded waits; true when the condition holds in time.
    bool waitForRequests(std::size_t count, int timeoutMs) const;
    bool waitForReceived(std::size_t bytes, int timeoutMs) const;
    bool waitForSent(std::size_t bytes, int timeoutMs) const;
    // Nothing queued, no answer running and no unread input.
    bool waitIdle(int timeoutMs) const;

private:
    void runTcp();
    void runPty();
    bool waitFor(int timeoutMs, const std::function<bool()>& condition) const;
    void wake();

    mutable EmulatorState m_state;
    std::unique_ptr<Waker> m_waker;
    std::unique_ptr<class TcpListener> m_listener;
    std::unique_ptr<class PtyEndpoint> m_pty;
    std::thread m_thread;
};

} // namespace velaemu
