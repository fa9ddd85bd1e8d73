#include "protocol/TLVTag.h"

#include <cstring>
#include <limits>

const char* aTLVErrors[7] = {
    "General Error.", "Invalid Argument.", "Invalid Operation.",     "Too small buffer.",
    "No Value.",      "Invalid Sequence.", "Message Format Broken.",
};

namespace {
// Bytes of the element header in a dump: tag number and value length.
const unsigned kHeaderSize = 8;

// A fresh copy of size bytes, or null for an empty value.
unsigned char* duplicate(const unsigned char* data, unsigned size) {
    if (size == 0)
        return nullptr;
    unsigned char* copy = new unsigned char[size];
    std::memcpy(copy, data, size);
    return copy;
}
} // namespace

namespace vela {
void numToBin(unsigned char* p, unsigned v) {
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

void binToNum(unsigned char* p, unsigned& v) {
    v = unsigned(p[0]) | unsigned(p[1]) << 8 | unsigned(p[2]) << 16 | unsigned(p[3]) << 24;
}

void binToNumR(unsigned char* p, unsigned& v) {
    v = unsigned(p[0]) << 24 | unsigned(p[1]) << 16 | unsigned(p[2]) << 8 | unsigned(p[3]);
}
} // namespace vela

void CTLVTag::numToBin(unsigned char* p, unsigned v) {
    vela::numToBin(p, v);
}
void CTLVTag::binToNum(unsigned char* p, unsigned& v) {
    vela::binToNum(p, v);
}
void CTLVTag::binToNumR(unsigned char* p, unsigned& v) {
    vela::binToNumR(p, v);
}

CTLVTag::CTLVTag(unsigned type) : m_type(type) {}

CTLVTag::CTLVTag(unsigned type, unsigned char* data, unsigned size) : m_type(type) {
    setValue(data, size);
}

CTLVTag::CTLVTag(unsigned type, char* text) : m_type(type) {
    setValue(text);
}

CTLVTag::CTLVTag(unsigned type, unsigned value) : m_type(type) {
    setValue(value);
}

CTLVTag::~CTLVTag() {
    clearValue();
    m_type = 0;
}

void CTLVTag::replaceValue(unsigned char* value, unsigned size) {
    delete[] m_value;
    m_value = value;
    m_length = value == nullptr ? 0 : size;
}

int CTLVTag::getType(unsigned& type) {
    type = m_type;
    return TLVC_OK;
}

int CTLVTag::getLength(unsigned& length) {
    length = m_length;
    return TLVC_OK;
}

int CTLVTag::getValue(char* dst, unsigned capacity) {
    unsigned length = 0;
    return getValue(reinterpret_cast<unsigned char*>(dst), capacity, length);
}

int CTLVTag::getValue(unsigned char* dst, unsigned capacity, unsigned& length) {
    if (m_length == 0)
        return TLVC_NOVALUE;
    if (m_length > capacity)
        return TLVC_SMALLBUFFER;
    if (dst == nullptr)
        return TLVC_INVALIDARG;
    std::memset(dst, 0, capacity);
    std::memcpy(dst, m_value, m_length);
    length = m_length;
    return TLVC_OK;
}

int CTLVTag::getValue(unsigned& number) {
    if (m_length == 0)
        return TLVC_NOVALUE;
    if (m_length != 4)
        return TLVC_INVALIDOP;
    binToNum(m_value, number);
    return TLVC_OK;
}

int CTLVTag::getValueR(unsigned& number) {
    if (m_length == 0)
        return TLVC_NOVALUE;
    if (m_length != 4)
        return TLVC_INVALIDOP;
    binToNumR(m_value, number);
    return TLVC_OK;
}

int CTLVTag::getBinLength(unsigned& size) {
    if (m_length == 0)
        return TLVC_NOVALUE;
    // An element whose dump form would not fit a 32-bit length cannot be sent.
    if (m_length > std::numeric_limits<unsigned>::max() - kHeaderSize)
        return TLVC_SMALLBUFFER;
    size = m_length + kHeaderSize;
    return TLVC_OK;
}

int CTLVTag::getBinData(unsigned char* dst, unsigned capacity, unsigned& size) {
    unsigned needed = 0;
    int rc = getBinLength(needed);
    if (rc != TLVC_OK)
        return rc;
    if (needed > capacity)
        return TLVC_SMALLBUFFER;
    if (dst == nullptr)
        return TLVC_INVALIDARG;
    std::memset(dst, 0, capacity);
    numToBin(dst, m_type);
    numToBin(dst + 4, m_length);
    std::memcpy(dst + kHeaderSize, m_value, m_length);
    size = needed;
    return TLVC_OK;
}

int CTLVTag::setValue(unsigned char* data, unsigned size) {
    if (data == nullptr)
        return TLVC_INVALIDARG;
    // Copy before releasing: data may point into the current value.
    replaceValue(duplicate(data, size), size);
    return TLVC_OK;
}

int CTLVTag::setValue(char* text) {
    if (text == nullptr)
        return TLVC_INVALIDARG;
    unsigned size = static_cast<unsigned>(std::strlen(text));
    replaceValue(duplicate(reinterpret_cast<unsigned char*>(text), size), size);
    return TLVC_OK;
}

int CTLVTag::setValue(unsigned value) {
    unsigned char bytes[4];
    numToBin(bytes, value);
    replaceValue(duplicate(bytes, sizeof bytes), sizeof bytes);
    return TLVC_OK;
}

void CTLVTag::allocValue(unsigned size) {
    replaceValue(size == 0 ? nullptr : new unsigned char[size](), size);
}

void CTLVTag::clearValue() {
    replaceValue(nullptr, 0);
}

int CTLVTag::copy(CTLVTag& other) {
    if (&other == this)
        return m_length == 0 ? TLVC_INVALIDARG : TLVC_OK;
    m_type = other.m_type;
    replaceValue(duplicate(other.m_value, other.m_length), other.m_length);
    return m_length == 0 ? TLVC_INVALIDARG : TLVC_OK;
}
