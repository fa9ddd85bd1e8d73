// The four lookups every result accessor is built on. Each holds the engine
// mutex for the whole lookup and copy, so a value never mixes two messages
// while the worker replaces the current result message.
#include "client/VELAECRClient.h"

#include <cstring>

namespace {

// The element of tag with a value, or null (absent, or no value).
CTLVTag* findValue(CTLVMessage& message, int tag, unsigned& length) {
    CTLVTag* element = nullptr;
    if (tag < 0 || message.getTag(element, static_cast<unsigned>(tag)) != TLVC_OK)
        return nullptr;
    element->getLength(length);
    return length != 0 ? element : nullptr;
}

} // namespace

int CVELAECRClient::getBuffValue(char* buffer, int& length, int capacity, int tag) {
    MutexLock lock(m_pMutex);
    unsigned size = 0;
    CTLVTag* element = findValue(m_currentMsg, tag, size);
    if (element == nullptr)
        return ECRC_NODATA;
    if (capacity < 0 || size > static_cast<unsigned>(capacity))
        return ECRC_SMALLBUFFER;
    if (buffer == nullptr)
        return ECRC_ERROR;
    unsigned copied = 0;
    element->getValue(reinterpret_cast<unsigned char*>(buffer), static_cast<unsigned>(capacity),
                      copied);
    length = static_cast<int>(copied);
    return ECRC_OK;
}

int CVELAECRClient::getStrValue(char* buffer, int capacity, int tag) {
    int length = 0;
    return getBuffValue(buffer, length, capacity, tag);
}

// A number is exactly 4 bytes, little-endian as the terminal sends it; any
// other length is a corrupted value, not a number to guess at.
int CVELAECRClient::getNumValue(unsigned& value, int tag) {
    MutexLock lock(m_pMutex);
    unsigned size = 0;
    CTLVTag* element = findValue(m_currentMsg, tag, size);
    if (element == nullptr)
        return ECRC_NODATA;
    unsigned number = 0;
    if (element->getValue(number) != TLVC_OK)
        return ECRC_MSGCORRUPTED;
    value = number;
    return ECRC_OK;
}

int CVELAECRClient::getByteValue(unsigned char& value, int tag) {
    unsigned number = 0;
    int code = getNumValue(number, tag);
    if (code == ECRC_OK)
        value = static_cast<unsigned char>(number & 0xFF);
    return code;
}
