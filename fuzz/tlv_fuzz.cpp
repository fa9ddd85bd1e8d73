// Feeds arbitrary bytes to CTLVMessage::parseDump as a sequence of dumps
// parsed into one message, so that file parts assemble across dumps, and
// checks what must hold whatever a terminal sends.
//
// Input: chunks of [repeat byte][dump length, 16-bit little-endian][dump].
// A repeat byte of F0h or more parses its dump 2^(byte - F0h mod 9) times,
// enough to reach the file-buffer limit with dumps of frame size.
#include "protocol/TLVMessage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken invariant: %s\n", what);
        std::abort();
    }
}

// The outgoing dump of msg, or an empty vector when it has no element.
Bytes dumpOf(CTLVMessage& msg) {
    unsigned size = 0;
    check(msg.getDumpLength(size) == TLVC_OK, "getDumpLength of values");
    Bytes dump(size + 1u);
    unsigned written = 0;
    check(msg.buildDump(dump.data(), size, written) == TLVC_OK, "buildDump");
    check(written == size, "buildDump size");
    dump.resize(size);
    return dump;
}

// A successfully parsed message dumps back out element by element, and so
// does a copy of it.
void checkDumpsBack(CTLVMessage& msg) {
    std::vector<CTLVTag*> tags;
    msg.getAllTags(tags);
    bool anyWithoutValue = false;
    for (CTLVTag* tag : tags) {
        unsigned length = 0;
        tag->getLength(length);
        anyWithoutValue = anyWithoutValue || length == 0;
    }
    if (anyWithoutValue) {
        unsigned size = 0;
        check(msg.getDumpLength(size) == TLVC_NOVALUE, "element without value refused");
        return;
    }
    Bytes dump = dumpOf(msg);
    size_t offset = 0;
    for (CTLVTag* tag : tags) {
        unsigned type = 0, length = 0, dumpedType = 0, dumpedLength = 0;
        tag->getType(type);
        tag->getLength(length);
        check(dump.size() - offset >= 8, "element header in dump");
        CTLVTag::binToNumR(&dump[offset], dumpedType);
        CTLVTag::binToNumR(&dump[offset + 4], dumpedLength);
        check(dumpedType == type && dumpedLength == length, "element header matches");
        check(dump.size() - offset - 8 >= length, "element value in dump");
        Bytes value(length);
        tag->getValue(value.data(), length, length);
        check(std::memcmp(value.data(), &dump[offset + 8], length) == 0, "value matches");
        offset += 8 + length;
    }
    check(offset == dump.size(), "dump holds exactly the elements");

    CTLVMessage copy;
    copy.copy(msg);
    check(dumpOf(copy) == dump, "copy dumps the same");
}

void parseOnce(CTLVMessage& msg, Bytes& dump) {
    static unsigned char none = 0;
    unsigned char* src = dump.empty() ? &none : dump.data();
    int rc = msg.parseDump(src, static_cast<unsigned>(dump.size()));
    check(rc == TLVC_OK || rc == TLVC_SMALLBUFFER || rc == TLVC_INVALIDSEQ, "known result");
    check(msg.getFileLength() <= CTLVMessage::kFileBufferSize, "file within its buffer");
    std::vector<CTLVTag*> tags;
    msg.getAllTags(tags);
    if (rc == TLVC_INVALIDSEQ)
        check(tags.empty(), "malformed dump leaves no element");
    if (rc == TLVC_OK)
        checkDumpsBack(msg);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CTLVMessage msg;
    size_t pos = 0;
    while (pos < size) {
        unsigned char repeatByte = data[pos++];
        unsigned repeats = repeatByte < 0xF0 ? 1u : 1u << ((repeatByte - 0xF0) % 9);
        size_t length = size - pos;
        if (length >= 2) {
            size_t declared = data[pos] | size_t(data[pos + 1]) << 8;
            pos += 2;
            length = declared < size - pos ? declared : size - pos;
        }
        // A copy of exactly the dump's bytes, so a read past it is caught.
        Bytes dump(data + pos, data + pos + length);
        pos += length;
        for (unsigned i = 0; i < repeats; ++i)
            parseOnce(msg, dump);
    }
    return 0;
}
