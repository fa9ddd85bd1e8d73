#pragma once

// What the emulated terminal does, step by step, when it answers.

#include "TerminalWire.h"

#include <functional>
#include <vector>

namespace velaemu {

struct Step {
    enum Kind { Frame, Raw, Delay, Close };

    Kind kind = Frame;
    // Frame: the body and the lead byte (kSTX data, kStatusLead status).
    Bytes body;
    std::uint8_t lead = kSTX;
    // Frame: the first copies go out with a wrong checksum; a NAK from the
    // cash register makes the terminal send the next copy (3 copies at most).
    int badChecksumCopies = 0;
    // Frame: wait for the cash register's ACK or NAK after each copy.
    bool awaitAck = true;
    // Frame and Raw: sizes of the first writes; what is left goes out in one
    // last write. Empty: one write.
    std::vector<std::size_t> chunks;
    // Raw: bytes written as they are (garbage, control bytes, bad headers).
    Bytes raw;
    // Delay: milliseconds to wait; control bytes and frames that arrive
    // meanwhile are served, and an EOT ends the answer.
    int ms = 0;

    static Step frame(const LeMessage& message) { return frameOf(message.dump(), kSTX); }
    static Step status(const LeMessage& message) { return frameOf(message.dump(), kStatusLead); }
    static Step frameOf(const Bytes& body, std::uint8_t lead = kSTX) {
        Step step;
        step.body = body;
        step.lead = lead;
        return step;
    }
    static Step bytes(const Bytes& raw) {
        Step step;
        step.kind = Raw;
        step.raw = raw;
        return step;
    }
    static Step delay(int ms) {
        Step step;
        step.kind = Delay;
        step.ms = ms;
        return step;
    }
    static Step close() {
        Step step;
        step.kind = Close;
        return step;
    }

    Step& badChecksum(int copies = 1) {
        badChecksumCopies = copies;
        return *this;
    }
    Step& split(std::vector<std::size_t> sizes) {
        chunks = std::move(sizes);
        return *this;
    }
    Step& noAckWait() {
        awaitAck = false;
        return *this;
    }
};

using Reply = std::vector<Step>;

// Consulted for every request that has no queued reply; returns false to
// leave the request to the default answers.
using Responder = std::function<bool(const struct Request&, Reply&)>;

// Answer byte for a received frame: a byte value, or one of these.
const int kAnswerDefault = -1; // ACK for a good checksum, NAK for a bad one
const int kAnswerNone = -2;    // stay silent

} // namespace velaemu
