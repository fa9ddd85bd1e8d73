#pragma once

// Builders for dumps in the terminal's byte order (little-endian headers and
// numbers), as parseDump receives them.

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline void appendLE(Bytes& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

inline Bytes numberLE(uint32_t v) {
    Bytes out;
    appendLE(out, v);
    return out;
}

inline Bytes textBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// One element: header (tag, length) and value.
inline Bytes element(uint32_t tag, const Bytes& value) {
    Bytes out;
    appendLE(out, tag);
    appendLE(out, static_cast<uint32_t>(value.size()));
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

// A file element carrying one part: part number, part count, data.
inline Bytes filePart(uint32_t tag, uint32_t part, uint32_t count, const Bytes& data) {
    Bytes value;
    appendLE(value, part);
    appendLE(value, count);
    value.insert(value.end(), data.begin(), data.end());
    return element(tag, value);
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}
