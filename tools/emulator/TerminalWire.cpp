#include "TerminalWire.h"

#include <cstdio>

namespace velaemu {

std::uint8_t xorOf(const Bytes& data) {
    std::uint8_t sum = 0;
    for (std::uint8_t b : data)
        sum ^= b;
    return sum;
}

Bytes frameHeader(std::uint16_t length, std::uint8_t lead) {
    return Bytes{lead, static_cast<std::uint8_t>(length >> 8),
                 static_cast<std::uint8_t>(length & 0xFF)};
}

Bytes buildFrame(const Bytes& body, std::uint8_t lead, std::uint8_t checksumFlip) {
    Bytes frame = frameHeader(static_cast<std::uint16_t>(body.size()), lead);
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(xorOf(body) ^ checksumFlip);
    return frame;
}

void putLe32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint32_t be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

LeMessage& LeMessage::bytes(std::uint32_t tag, const Bytes& value) {
    for (auto& element : m_elements)
        if (element.first == tag) {
            element.second = value;
            return *this;
        }
    m_elements.emplace_back(tag, value);
    return *this;
}

LeMessage& LeMessage::num(std::uint32_t tag, std::uint32_t value) {
    Bytes encoded;
    putLe32(encoded, value);
    return bytes(tag, encoded);
}

LeMessage& LeMessage::text(std::uint32_t tag, const std::string& text) {
    return bytes(tag, Bytes(text.begin(), text.end()));
}

LeMessage& LeMessage::filePart(std::uint32_t tag, std::uint32_t part, std::uint32_t count,
                               const std::string& data) {
    Bytes value;
    putLe32(value, part);
    putLe32(value, count);
    value.insert(value.end(), data.begin(), data.end());
    return bytes(tag, value);
}

LeMessage& LeMessage::remove(std::uint32_t tag) {
    for (auto it = m_elements.begin(); it != m_elements.end(); ++it)
        if (it->first == tag) {
            m_elements.erase(it);
            break;
        }
    return *this;
}

bool LeMessage::has(std::uint32_t tag) const {
    for (const auto& element : m_elements)
        if (element.first == tag)
            return true;
    return false;
}

Bytes LeMessage::dump() const {
    Bytes out;
    for (const auto& element : m_elements) {
        putLe32(out, element.first);
        putLe32(out, static_cast<std::uint32_t>(element.second.size()));
        out.insert(out.end(), element.second.begin(), element.second.end());
    }
    return out;
}

const Bytes* Request::value(std::uint32_t tag) const {
    for (const auto& element : elements)
        if (element.first == tag)
            return &element.second;
    return nullptr;
}

std::uint32_t Request::number(std::uint32_t tag, std::uint32_t fallback) const {
    const Bytes* v = value(tag);
    return v != nullptr && v->size() == 4 ? be32(v->data()) : fallback;
}

std::string Request::text(std::uint32_t tag) const {
    const Bytes* v = value(tag);
    return v == nullptr ? std::string() : std::string(v->begin(), v->end());
}

Request parseRequest(const Bytes& body) {
    Request request;
    request.body = body;
    std::size_t offset = 0;
    while (body.size() - offset >= 8) {
        std::uint32_t tag = be32(&body[offset]);
        std::uint32_t length = be32(&body[offset + 4]);
        offset += 8;
        if (length > body.size() - offset)
            return request;
        request.elements.emplace_back(tag,
                                      Bytes(body.begin() + offset, body.begin() + offset + length));
        offset += length;
    }
    request.wellFormed = offset == body.size();
    return request;
}

std::string hex(const Bytes& data) {
    std::string out;
    char digits[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(digits, sizeof digits, i == 0 ? "%02X" : " %02X", data[i]);
        out += digits;
    }
    return out;
}

} // namespace velaemu
