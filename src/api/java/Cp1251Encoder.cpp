#include "api/java/Cp1251Encoder.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// The characters of the CP1251 bytes 80h..BFh (98h has none); C0h..FFh
// are А..я.
const char16_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

const char kUnmappable = '?';

// CP1251 byte of every character up to the highest one it holds (U+2122);
// 0 where it has none.
constexpr std::uint32_t kReverseSize = 0x2123;

struct ReverseTable {
    unsigned char bytes[kReverseSize] = {};
    ReverseTable() {
        for (std::uint32_t c = 0x01; c < 0x80; ++c)
            bytes[c] = static_cast<unsigned char>(c);
        for (std::uint32_t c = 0x0410; c <= 0x044F; ++c) // А..я
            bytes[c] = static_cast<unsigned char>(0xC0 + (c - 0x0410));
        for (std::size_t i = 0; i < 64; ++i)
            if (kHighHalf[i] != 0)
                bytes[kHighHalf[i]] = static_cast<unsigned char>(0x80 + i);
    }
};

char toCp1251(std::uint32_t codePoint) {
    static const ReverseTable table;
    unsigned char byte = codePoint < kReverseSize ? table.bytes[codePoint] : 0;
    return byte != 0 ? static_cast<char>(byte) : kUnmappable;
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Decodes one sequence of `length` bytes led by text[0]; 0 when malformed,
// truncated or overlong. Modified UTF-8's U+0000 (C0 80) decodes to 0 too:
// the terminal's texts cannot hold it.
std::uint32_t decodeSequence(const unsigned char* text, std::size_t length) {
    static const unsigned char leadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
    static const std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    std::uint32_t codePoint = text[0] & leadMask[length];
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(text[i]))
            return 0;
        codePoint = (codePoint << 6) | (text[i] & 0x3F);
    }
    return codePoint < shortest[length] || codePoint > 0x10FFFF ? 0 : codePoint;
}

std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xC0 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The bytes one '?' stands for in a malformed sequence: its lead and the
// continuation bytes that follow, up to the sequence's length.
std::size_t malformedLength(const unsigned char* text, std::size_t length) {
    std::size_t count = 1;
    while (count < length && isContinuation(text[count]))
        ++count;
    return count;
}

bool isHighSurrogate(std::uint32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(std::uint32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::string utf8ToCp1251(const char* text) {
    std::string result;
    result.reserve(std::strlen(text));
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0) {
        if (*p < 0x80) {
            result += static_cast<char>(*p++);
            continue;
        }
        std::size_t length = sequenceLength(*p);
        std::uint32_t codePoint = 0;
        if (length != 0)
            codePoint = decodeSequence(p, length); // stops at the NUL: not a continuation
        if (codePoint == 0) {
            result += kUnmappable;
            p += malformedLength(p, length);
            continue;
        }
        p += length;
        // Modified UTF-8 writes a character above U+FFFF as two surrogates:
        // it is one character, so one '?'.
        if (isHighSurrogate(codePoint) && sequenceLength(*p) == 3 &&
            isLowSurrogate(decodeSequence(p, 3)))
            p += 3;
        result += toCp1251(codePoint);
    }
    return result;
}
