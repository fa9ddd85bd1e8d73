#pragma once

#include "protocol/TLVTag.h"

#include <map>
#include <vector>

// One message: elements keyed by tag number, plus the buffer in which a file
// sent in numbered parts is assembled across successive parseDump calls.
class CTLVMessage {
public:
    static const unsigned kFileBufferSize = 204800;

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
    int AddToBuff(unsigned char* value, unsigned length, unsigned capacity);

private:
    unsigned char* m_fileBuffer = nullptr; // allocated on the first file part
    unsigned m_fileLength = 0;
    std::map<unsigned, CTLVTag*> m_tags;
    bool m_isFileComplete = false;
};
