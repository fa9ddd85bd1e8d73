#pragma once

// The terminal's view of the wire: frames, control bytes, the little-endian
// messages a terminal sends and the big-endian requests it receives.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velaemu {

using Bytes = std::vector<std::uint8_t>;

const std::uint8_t kSTX = 0x02;
const std::uint8_t kStatusLead = 0x12;
const std::uint8_t kACK = 0x06;
const std::uint8_t kNAK = 0x15;
const std::uint8_t kEOT = 0x04;
const std::uint8_t kCheckByte = 0x07;

std::uint8_t xorOf(const Bytes& data);

// lead, big-endian 16-bit length, body, XOR checksum of the body. The
// checksum is XORed with checksumFlip, so any non-zero flip makes it wrong.
// Bodies above 65535 bytes are cut to the length field's 16 bits.
Bytes buildFrame(const Bytes& body, std::uint8_t lead = kSTX, std::uint8_t checksumFlip = 0);

// A frame header announcing `length` body bytes, nothing else.
Bytes frameHeader(std::uint16_t length, std::uint8_t lead = kSTX);

// A message as the terminal sends it: elements in the order added (a later
// element with the same tag replaces the earlier one in place), tag numbers,
// lengths and numbers little-endian.
class LeMessage {
public:
    LeMessage& num(std::uint32_t tag, std::uint32_t value);
    LeMessage& text(std::uint32_t tag, const std::string& text);
    LeMessage& bytes(std::uint32_t tag, const Bytes& value);
    // One part of a file tag: part number and part count little-endian, data.
    LeMessage& filePart(std::uint32_t tag, std::uint32_t part, std::uint32_t count,
                        const std::string& data);
    LeMessage& remove(std::uint32_t tag);
    bool has(std::uint32_t tag) const;
    Bytes dump() const;

private:
    std::vector<std::pair<std::uint32_t, Bytes>> m_elements;
};

void putLe32(Bytes& out, std::uint32_t value);
std::uint32_t le32(const std::uint8_t* p);
std::uint32_t be32(const std::uint8_t* p);

// A request as the cash register sends it (big-endian dump).
struct Request {
    Bytes body;
    // True when the body splits exactly into elements.
    bool wellFormed = false;
    // Elements in dump order.
    std::vector<std::pair<std::uint32_t, Bytes>> elements;

    const Bytes* value(std::uint32_t tag) const;
    bool has(std::uint32_t tag) const { return value(tag) != nullptr; }
    // The 4-byte big-endian number of a tag; fallback when absent or not 4 bytes.
    std::uint32_t number(std::uint32_t tag, std::uint32_t fallback = 0) const;
    std::string text(std::uint32_t tag) const;
    std::uint32_t msgType() const { return number(1); }
};

Request parseRequest(const Bytes& body);

// "02 00 0C ..." for logs and test messages.
std::string hex(const Bytes& data);

} // namespace velaemu
