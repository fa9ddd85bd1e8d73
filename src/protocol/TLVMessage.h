#pragma once

#include "protocol/TLVTag.h"

#include <map>
#include <vector>

// One message: elements keyed by tag number, plus the buffer in which a file
// sent in numbered parts is assembled across successive parseDump calls.
class CTLVMessage {
public:
    static constexpr unsigned kFileBufferSize = 204800;

    CTLVMessage();
    ~CTLVMessage();
    CTLVMessage(const CTLVMessage&) = delete;
    CTLVMessage& operator=(const CTLVMessage&) = delete;

    int addTag(CTLVTag* tag);
    int getTag(CTLVTag*& tag, unsigned type);
    bool findTag(unsigned type);
    int getTagNumValue(int type, unsigned& number);
    int getAllTags(std::vector<CTLVTag*>& out);
    void clear();
    int copy(CTLVMessage& other);
    int getDumpLength(unsigned& size);
    int buildDump(unsigned char* dst, unsigned capacity, unsigned& size);
    int parseDump(unsigned char* src, unsigned length);
    bool IsReceiptPresent();
    bool isFileBufferEnd();
    bool isFileTag(int type);
    // Appends one file part (part number, part count, data). Returns 1 when
    // more parts are expected, 0 when the file is complete, 2 when the part is
    // refused (malformed, inconsistent or too large for the file buffer).
    int AddToBuff(unsigned char* value, unsigned length, unsigned capacity);
    // Bytes of the file assembled so far.
    unsigned getFileLength() const { return m_fileLength; }

private:
    unsigned char* m_fileBuffer = nullptr; // allocated on the first file part
    unsigned m_fileLength = 0;
    std::map<unsigned, CTLVTag*> m_tags;
    bool m_isFileComplete = false;

    // Whether the elements of an incoming dump exactly fill its length.
    static bool isWellFormedDump(const unsigned char* src, unsigned length);
    // Stores a new element with a copy of size bytes (none when size is 0).
    void storeElement(unsigned type, unsigned char* value, unsigned size);
};
