// Feeds arbitrary incoming bytes to the link protocol's receive path through
// an in-memory transport, the way the engine polls: recvMessage again and
// again into one message (so file parts assemble across frames) until the
// bytes are used up, and checks what must hold whatever a terminal sends.
//
// Input: [chunk byte][incoming bytes]. The chunk byte sets how many bytes one
// transport read delivers at most (0: everything that is left), so that
// frames also arrive in pieces.
#include "MemoryTransport.h"
#include "protocol/ECRProto.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken invariant: %s\n", what);
        std::abort();
    }
}

bool isKnownResult(int rc) {
    static const std::set<int> known = {ECRPC_OK,
                                        ECRPC_RECVTIMEOUT,
                                        ECRPC_NOATTEMPTS,
                                        ECRPC_EOTRECEIVED,
                                        ECRPC_NOCRC,
                                        ECRPC_UNKNOWNSTX,
                                        ECRPC_MAXSIZE,
                                        ECRPC_EMPTYMSG,
                                        ECRPC_BROKENSTATUS,
                                        ECRPC_STATUSMSG,
                                        ECRPC_CHECKTERMINAL,
                                        ECRPC_WRONGLENGTH,
                                        Communication::COMM_READTIMEOUT};
    return known.count(rc) != 0 || (rc >= 201 && rc <= 207);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    unsigned chunk = data[0];
    velatest::Bytes incoming(data + 1, data + size);
    auto* transport = new velatest::MemoryTransport();
    if (chunk == 0) {
        transport->feed(incoming);
    } else {
        for (size_t at = 0; at < incoming.size(); at += chunk)
            transport->feed(velatest::Bytes(
                incoming.begin() + at, incoming.begin() + std::min(incoming.size(), at + chunk)));
    }
    CECRProto proto;
    proto.setCommunication(transport);
    CTLVMessage message;
    // Each call consumes at least one byte unless nothing is left.
    for (size_t polls = 0; polls <= incoming.size(); ++polls) {
        int rc = proto.recvMessage(message);
        check(isKnownResult(rc), "result code");
        if (rc == ECRPC_RECVTIMEOUT)
            break;
    }
    for (uint8_t byte : transport->written)
        check(byte == 0x06 || byte == 0x15 || byte == 0x04, "only ACK, NAK and EOT answer");
    return 0;
}
