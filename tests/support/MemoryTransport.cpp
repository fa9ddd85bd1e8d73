#include "MemoryTransport.h"

#include <algorithm>

using namespace Communication;

namespace velatest {

MemoryTransport::~MemoryTransport() {
    if (m_destroyed != nullptr)
        *m_destroyed = true;
}

void MemoryTransport::feed(const Bytes& bytes) {
    if (!bytes.empty())
        m_incoming.push_back(Entry{bytes, COMM_OK, false});
}

void MemoryTransport::feedEachByte(const Bytes& bytes) {
    for (std::uint8_t byte : bytes)
        feed(Bytes{byte});
}

void MemoryTransport::feedFailure(int rc) {
    m_incoming.push_back(Entry{Bytes(), rc, false});
}

void MemoryTransport::feedNothing() {
    m_incoming.push_back(Entry{Bytes(), COMM_OK, false});
}

void MemoryTransport::feedOverlong(const Bytes& bytes) {
    m_incoming.push_back(Entry{bytes, COMM_OK, true});
}

int MemoryTransport::take(std::deque<int>& results) {
    if (results.empty())
        return COMM_OK;
    int rc = results.front();
    results.pop_front();
    return rc;
}

int MemoryTransport::commOpen() {
    ++openCalls;
    return openResult;
}

int MemoryTransport::commClose() {
    ++closeCalls;
    return COMM_OK;
}

int MemoryTransport::commRead(unsigned char* buffer, unsigned int size, unsigned int& count) {
    count = 0;
    if (size == 0)
        return COMM_INVALIDARG;
    if (m_incoming.empty())
        return emptyReadRc;
    Entry& entry = m_incoming.front();
    if (entry.rc != COMM_OK || entry.data.empty()) {
        int rc = entry.rc;
        m_incoming.pop_front();
        return rc;
    }
    std::size_t n = std::min<std::size_t>(size, entry.data.size());
    std::copy(entry.data.begin(), entry.data.begin() + n, buffer);
    if (entry.overlong) {
        count = static_cast<unsigned>(entry.data.size());
        m_incoming.pop_front();
        return COMM_OK;
    }
    count = static_cast<unsigned>(n);
    entry.data.erase(entry.data.begin(), entry.data.begin() + n);
    if (entry.data.empty())
        m_incoming.pop_front();
    return COMM_OK;
}

int MemoryTransport::commWrite(const unsigned char* data, unsigned int length,
                               unsigned int& count) {
    int rc = COMM_OK;
    unsigned taken = length;
    if (!writeResults.empty()) {
        rc = writeResults.front().first;
        taken = rc == COMM_PARTIALWRITE ? std::min(writeResults.front().second, length)
                : rc == COMM_OK         ? length
                                        : 0;
        writeResults.pop_front();
    }
    writes.emplace_back(data, data + taken);
    written.insert(written.end(), data, data + taken);
    if (rc == COMM_PARTIALWRITE)
        count = taken;
    return rc;
}

int MemoryTransport::setReadTimeouts(unsigned int, unsigned int milliseconds) {
    timeoutsSet.push_back(milliseconds);
    return take(timeoutResults);
}

int MemoryTransport::flush() {
    ++flushCalls;
    return take(flushResults);
}

int MemoryTransport::setTraceOpt(bool on) {
    m_isTraceOn = on;
    return COMM_OK;
}

} // namespace velatest
