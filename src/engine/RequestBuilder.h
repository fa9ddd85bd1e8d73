#pragma once

#include "protocol/TLVMessage.h"

#include <cstdint>
#include <cstring>
#include <string>

// Adds the elements of a request to a message. Numbers go out as 4-byte
// numbers (one-byte members widened); texts as their characters without a
// terminator; an empty text becomes an element without value, which the
// message refuses to serialise, so such a request is never sent.
class RequestBuilder {
public:
    explicit RequestBuilder(CTLVMessage& msg) : m_msg(msg) {}

    RequestBuilder& num(unsigned tag, std::uint32_t value) {
        m_msg.addTag(new CTLVTag(tag, static_cast<unsigned>(value)));
        return *this;
    }
    // The element is left out for 0.
    RequestBuilder& numIfSet(unsigned tag, std::uint32_t value) {
        return value != 0 ? num(tag, value) : *this;
    }
    RequestBuilder& bytes(unsigned tag, const void* data, std::size_t length) {
        CTLVTag* element = new CTLVTag(tag);
        if (length != 0)
            element->setValue(static_cast<unsigned char*>(const_cast<void*>(data)),
                              static_cast<unsigned>(length));
        m_msg.addTag(element);
        return *this;
    }
    RequestBuilder& text(unsigned tag, const std::string& value) {
        return bytes(tag, value.data(), value.size());
    }
    // A fixed-size text field: the characters before its first NUL.
    RequestBuilder& text(unsigned tag, const char* field, std::size_t fieldSize) {
        return bytes(tag, field, strnlen(field, fieldSize));
    }
    // The extras are added only when not empty.
    RequestBuilder& textIfSet(unsigned tag, const std::string& value) {
        return value.empty() ? *this : text(tag, value);
    }

private:
    CTLVMessage& m_msg;
};
