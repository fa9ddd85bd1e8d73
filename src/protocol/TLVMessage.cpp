#include "protocol/TLVMessage.h"

#include "protocol/TagCatalogue.h"

#include <cstring>
#include <limits>

namespace {
const unsigned kMaxDumpLength = std::numeric_limits<unsigned>::max();
const unsigned kHeaderSize = 8;     // tag number and value length
const unsigned kPartHeaderSize = 8; // part number and part count of a file part

// AddToBuff results.
const int kFileComplete = 0;
const int kMorePartsExpected = 1;
const int kPartRefused = 2;
} // namespace

CTLVMessage::CTLVMessage() {}

CTLVMessage::~CTLVMessage() {
    clear();
    delete[] m_fileBuffer;
}

int CTLVMessage::addTag(CTLVTag* tag) {
    if (tag == nullptr)
        return TLVC_INVALIDARG;
    unsigned type = 0;
    tag->getType(type);
    CTLVTag*& slot = m_tags[type];
    // Adding the element already stored must not destroy it.
    if (slot != tag)
        delete slot;
    slot = tag;
    return TLVC_OK;
}

int CTLVMessage::getTag(CTLVTag*& tag, unsigned type) {
    auto it = m_tags.find(type);
    if (it == m_tags.end() || it->second == nullptr)
        return TLVC_ERROR;
    tag = it->second;
    return TLVC_OK;
}

bool CTLVMessage::findTag(unsigned type) {
    return m_tags.count(type) != 0;
}

int CTLVMessage::getTagNumValue(int type, unsigned& number) {
    CTLVTag* tag = nullptr;
    int rc = getTag(tag, static_cast<unsigned>(type));
    if (rc != TLVC_OK)
        return rc;
    return tag->getValue(number);
}

int CTLVMessage::getAllTags(std::vector<CTLVTag*>& out) {
    out.clear();
    for (const auto& entry : m_tags)
        out.push_back(entry.second);
    return TLVC_OK;
}

void CTLVMessage::clear() {
    for (auto& entry : m_tags)
        delete entry.second;
    m_tags.clear();
}

int CTLVMessage::copy(CTLVMessage& other) {
    if (&other == this)
        return TLVC_OK;
    clear();
    for (const auto& entry : other.m_tags) {
        CTLVTag* tag = new CTLVTag(entry.first);
        tag->copy(*entry.second); // an element without value is copied as such
        addTag(tag);
    }
    return TLVC_OK;
}

int CTLVMessage::getDumpLength(unsigned& size) {
    size = 0;
    for (const auto& entry : m_tags) {
        unsigned elementSize = 0;
        int rc = entry.second->getBinLength(elementSize);
        if (rc != TLVC_OK)
            return rc;
        if (elementSize > kMaxDumpLength - size)
            return TLVC_SMALLBUFFER;
        size += elementSize;
    }
    return TLVC_OK;
}

int CTLVMessage::buildDump(unsigned char* dst, unsigned capacity, unsigned& size) {
    if (dst == nullptr)
        return TLVC_INVALIDARG;
    unsigned total = 0;
    int rc = getDumpLength(total);
    if (rc != TLVC_OK)
        return rc;
    if (total > capacity)
        return TLVC_SMALLBUFFER;
    unsigned offset = 0;
    for (const auto& entry : m_tags) {
        unsigned written = 0;
        rc = entry.second->getBinData(dst + offset, capacity - offset, written);
        if (rc != TLVC_OK)
            return rc;
        offset += written;
    }
    size = total;
    return TLVC_OK;
}

bool CTLVMessage::isWellFormedDump(const unsigned char* src, unsigned length) {
    unsigned offset = 0;
    while (offset < length) {
        // Compare against what is left, never against a sum that could wrap.
        unsigned left = length - offset;
        if (left < kHeaderSize)
            return false;
        unsigned valueLength = 0;
        CTLVTag::binToNum(const_cast<unsigned char*>(src) + offset + 4, valueLength);
        if (valueLength > left - kHeaderSize)
            return false;
        offset += kHeaderSize + valueLength;
    }
    return true;
}

void CTLVMessage::storeElement(unsigned type, unsigned char* value, unsigned size) {
    CTLVTag* tag = new CTLVTag(type);
    if (size != 0)
        tag->setValue(value, size);
    addTag(tag);
}

int CTLVMessage::parseDump(unsigned char* src, unsigned length) {
    if (src == nullptr)
        return TLVC_INVALIDARG;
    clear();
    if (!isWellFormedDump(src, length))
        return TLVC_INVALIDSEQ;
    for (unsigned offset = 0; offset < length;) {
        unsigned type = 0;
        unsigned valueLength = 0;
        CTLVTag::binToNum(src + offset, type);
        CTLVTag::binToNum(src + offset + 4, valueLength);
        unsigned char* value = src + offset + kHeaderSize;
        offset += kHeaderSize + valueLength;
        if (!isFileTag(static_cast<int>(type))) {
            storeElement(type, value, valueLength);
            continue;
        }
        int part = AddToBuff(value, valueLength, kFileBufferSize);
        if (part == kMorePartsExpected)
            continue;
        if (part != kFileComplete)
            return TLVC_SMALLBUFFER;
        // The completed file replaces the part; the rest of this dump is not read.
        storeElement(type, m_fileBuffer, m_fileLength);
        m_isFileComplete = true;
        return TLVC_OK;
    }
    return TLVC_OK;
}

bool CTLVMessage::IsReceiptPresent() {
    return m_fileLength > 1;
}

bool CTLVMessage::isFileBufferEnd() {
    return m_isFileComplete;
}

bool CTLVMessage::isFileTag(int type) {
    return type == ETag_Receipt || type == ETag_DataFile;
}

int CTLVMessage::AddToBuff(unsigned char* value, unsigned length, unsigned capacity) {
    if (value == nullptr || length < kPartHeaderSize)
        return kPartRefused;
    unsigned partNumber = 0;
    unsigned partCount = 0;
    CTLVTag::binToNum(value, partNumber);
    CTLVTag::binToNum(value + 4, partCount);
    if (partNumber > partCount)
        return kPartRefused;
    if (partNumber == 0 && partCount == 0)
        return kFileComplete;
    // The buffer is never larger than kFileBufferSize, whatever the caller says.
    if (capacity > kFileBufferSize)
        capacity = kFileBufferSize;
    unsigned dataLength = length - kPartHeaderSize;
    if (m_fileLength > capacity || dataLength > capacity - m_fileLength)
        return kPartRefused;
    if (dataLength != 0) {
        if (m_fileBuffer == nullptr)
            m_fileBuffer = new unsigned char[kFileBufferSize]();
        std::memcpy(m_fileBuffer + m_fileLength, value + kPartHeaderSize, dataLength);
        m_fileLength += dataLength;
    }
    return partNumber < partCount ? kMorePartsExpected : kFileComplete;
}
