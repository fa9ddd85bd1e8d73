// The emulated terminal that the Java test program starts as a child process.
// It listens on a free port of 127.0.0.1 and prints one line
//   "listening PORT datafile N"
// then, for every request it receives, one line
//   "request TAG:HEX TAG:HEX ..."
// with each element's bytes exactly as they arrived, so that the test can
// check the encoding of its text arguments. A purchase is approved with fixed
// result fields; a receipt request is answered with a receipt of 4096 CP1251
// Cyrillic letters and a data-file request with the N bytes of dataFile(),
// both in parts that fit the cash register's 4096-byte frames; everything
// else gets the default answers. The program
// ends when its standard input closes (the test, or the JVM, went away) or
// after a time limit, whichever comes first.

#include "DefaultAnswers.h"
#include "TerminalEmulator.h"
#include "TerminalTags.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

using namespace velaemu;

namespace {

const int kLifetimeSeconds = 300;
const std::size_t kReceiptBytes = 4096;
// The library's file buffer holds 204800 bytes: the file fills it exactly.
const std::size_t kDataFileBytes = 204800;
// File bytes per answer: with the other elements the frame body stays
// within the 4096 bytes the cash register takes in.
const std::size_t kPartBytes = 4000;
const std::uint32_t kReceiptKind = 1;
const std::uint32_t kDataFileKind = 3;

// А..я (C0h..FFh) over and over.
std::string receipt() {
    std::string text;
    for (std::size_t i = 0; i < kReceiptBytes; ++i)
        text += static_cast<char>(0xC0 + i % 64);
    return text;
}

// Cyrillic letters, then every byte value 0..255 at the end: the text reading
// of the file stops at that NUL, the binary reading goes on to the end.
std::string dataFile() {
    std::string data;
    for (std::size_t i = 0; i < kDataFileBytes - 256; ++i)
        data += static_cast<char>(0xC0 + i % 64);
    for (int value = 0; value < 256; ++value)
        data += static_cast<char>(value);
    return data;
}

void printRequest(const Request& request) {
    std::string line = "request";
    for (const auto& element : request.elements) {
        line += " " + std::to_string(element.first) + ":";
        for (std::uint8_t byte : element.second) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02X", byte);
            line += digits;
        }
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

Reply purchaseAnswer(const Request& request) {
    LeMessage final;
    final.num(tag::MsgType, msg::TxnResponse)
        .num(tag::ResponseCode, 0)
        .num(tag::ResultTxnType, txn::Purchase)
        .num(tag::Amount, request.number(tag::Amount))
        .num(tag::InvoiceNum, 4711)
        .text(tag::RRN, "512345678901")
        .text(tag::AuthCode, "XY12Z9")
        .text(tag::PAN, "516875******1234");
    return Reply{Step::status(DefaultAnswers::statusMessage(1)), Step::frame(final)};
}

Reply fileAnswer(std::uint32_t fileTag, const std::string& data) {
    std::size_t parts = (data.size() + kPartBytes - 1) / kPartBytes;
    Reply reply;
    for (std::size_t part = 0; part < parts; ++part) {
        LeMessage message;
        message.num(tag::MsgType, msg::FileResponse)
            .num(tag::ResponseCode, 0)
            .filePart(fileTag, static_cast<std::uint32_t>(part + 1),
                      static_cast<std::uint32_t>(parts),
                      data.substr(part * kPartBytes, kPartBytes));
        reply.push_back(Step::frame(message));
    }
    return reply;
}

bool answer(const Request& request, Reply& reply) {
    printRequest(request);
    if (request.msgType() == msg::TxnRequest && request.number(tag::TxnType) == txn::Purchase) {
        reply = purchaseAnswer(request);
        return true;
    }
    if (request.msgType() == msg::FileRequest && request.number(tag::DataKind) == kReceiptKind) {
        reply = fileAnswer(tag::Receipt, receipt());
        return true;
    }
    if (request.msgType() == msg::FileRequest && request.number(tag::DataKind) == kDataFileKind) {
        reply = fileAnswer(tag::DataFile, dataFile());
        return true;
    }
    return false;
}

// Returns when standard input reaches its end or the lifetime is over.
void waitForInputEnd() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kLifetimeSeconds);
    char buffer[256];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return;
        pollfd input{STDIN_FILENO, POLLIN, 0};
        int ready = poll(&input, 1, static_cast<int>(left.count()));
        if (ready < 0)
            return;
        if (ready > 0 && read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            return;
    }
}

} // namespace

int main() {
    TerminalEmulator terminal;
    terminal.setResponder(answer);
    std::uint16_t port = terminal.startTcp(0);
    if (port == 0) {
        std::fprintf(stderr, "scripted terminal: cannot listen on 127.0.0.1\n");
        return 1;
    }
    std::printf("listening %u datafile %zu\n", port, kDataFileBytes);
    std::fflush(stdout);
    waitForInputEnd();
    terminal.stop();
    return 0;
}
