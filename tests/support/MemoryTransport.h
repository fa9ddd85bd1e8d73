#pragma once

// An in-memory transport for the link-protocol tests and the fuzz target:
// scripted incoming reads, recorded writes, and results injected on cue.

#include "communication/ICommunication.h"

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

namespace velatest {

using Bytes = std::vector<std::uint8_t>;

class MemoryTransport : public Communication::ICommunication {
public:
    // destroyed, when given, is set when the transport is deleted.
    explicit MemoryTransport(bool* destroyed = nullptr) : m_destroyed(destroyed) {}
    ~MemoryTransport() override;

    // ---- Incoming side: one read delivers at most one entry ----
    // A chunk of bytes; a read asking for fewer takes the front of it.
    void feed(const Bytes& bytes);
    // Every byte its own chunk, so each read delivers one byte.
    void feedEachByte(const Bytes& bytes);
    // A read that fails with rc.
    void feedFailure(int rc);
    // A read that reports success without a byte.
    void feedNothing();
    // A read that reports the whole chunk delivered even when asked for less.
    void feedOverlong(const Bytes& bytes);
    // What a read returns once every entry is used (default: read time-out).
    int emptyReadRc = Communication::COMM_READTIMEOUT;

    // ---- Results of the other operations, consumed one per call ----
    std::deque<int> flushResults;
    std::deque<int> timeoutResults;
    // {rc, bytes taken}: 116 takes that many bytes, 0 takes all, others none.
    std::deque<std::pair<int, unsigned>> writeResults;
    int openResult = Communication::COMM_OK;
    int connectedResult = Communication::COMM_OK;

    // ---- Records ----
    Bytes written;
    std::vector<Bytes> writes;
    std::vector<unsigned> timeoutsSet;
    int flushCalls = 0;
    int openCalls = 0;
    int closeCalls = 0;

    int commOpen() override;
    int commClose() override;
    int commRead(unsigned char* buffer, unsigned int size, unsigned int& count) override;
    int commWrite(const unsigned char* data, unsigned int length, unsigned int& count) override;
    int isConnected() override { return connectedResult; }
    int setReadTimeouts(unsigned int seconds, unsigned int milliseconds) override;
    int flush() override;
    int setTraceOpt(bool on) override;

private:
    struct Entry {
        Bytes data;
        int rc = Communication::COMM_OK;
        bool overlong = false;
    };
    static int take(std::deque<int>& results);

    std::deque<Entry> m_incoming;
    bool* m_destroyed;
};

} // namespace velatest
