#pragma once

#include "velaecr_export.h"

// Result codes of CTLVTag and CTLVMessage.
enum ETLVCode {
    TLVC_OK = 0,
    TLVC_ERROR = 201,
    TLVC_INVALIDARG = 202,
    TLVC_INVALIDOP = 203,
    TLVC_SMALLBUFFER = 204,
    TLVC_NOVALUE = 205,
    TLVC_INVALIDSEQ = 206,
    TLVC_FORMATBROKEN = 207,
};

// One text per code, entry i describing code TLVC_ERROR + i (201..207).
extern "C" VELA_EXPORT const char* aTLVErrors[7];

// One tag-length-value element; owns its value. Numbers are stored big-endian
// (the order the terminal expects); getValue(unsigned&) reads the
// little-endian order of values parsed from the terminal, getValueR the other.
class CTLVTag {
public:
    explicit CTLVTag(unsigned type);
    CTLVTag(unsigned type, unsigned char* data, unsigned size);
    CTLVTag(unsigned type, char* text);
    CTLVTag(unsigned type, unsigned value);
    ~CTLVTag();
    CTLVTag(const CTLVTag&) = delete;
    CTLVTag& operator=(const CTLVTag&) = delete;

    int getType(unsigned& type);
    int getLength(unsigned& length);
    int getValue(char* dst, unsigned capacity);
    int getValue(unsigned char* dst, unsigned capacity, unsigned& length);
    int getValue(unsigned& number);
    int getValueR(unsigned& number);
    int getBinLength(unsigned& size);
    int getBinData(unsigned char* dst, unsigned capacity, unsigned& size);
    int setValue(unsigned char* data, unsigned size);
    int setValue(char* text);
    int setValue(unsigned value);
    void allocValue(unsigned size);
    void clearValue();
    int copy(CTLVTag& other);

    static void numToBin(unsigned char* p, unsigned v);
    static void binToNum(unsigned char* p, unsigned& v);
    static void binToNumR(unsigned char* p, unsigned& v);

private:
    unsigned m_type = 0;
    unsigned m_length = 0;
    unsigned char* m_value = nullptr;

    // Takes ownership of value (size bytes, null when size is 0).
    void replaceValue(unsigned char* value, unsigned size);
};

// Four-byte number helpers shared with the file reader.
namespace vela {
// Writes v big-endian into p[0..3].
void numToBin(unsigned char* p, unsigned v);
// Reads p[0..3] little-endian.
void binToNum(unsigned char* p, unsigned& v);
// Reads p[0..3] big-endian.
void binToNumR(unsigned char* p, unsigned& v);
} // namespace vela
