#include "diagnostics/common.h"

#include <cstdio>

std::string ToString(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    return text;
}

void byte2hex(unsigned char value, char* out) {
    static const char digits[] = "0123456789ABCDEF";
    out[0] = digits[value >> 4];
    out[1] = digits[value & 0x0F];
}

std::string hexify(const unsigned char* data, std::size_t length) {
    std::string text(length * 2, '0');
    for (std::size_t i = 0; i < length; ++i)
        byte2hex(data[i], &text[i * 2]);
    return text;
}

std::string GetNumFilledZero(int value) {
    std::string text = ToString(value);
    return value >= 0 && value < 10 ? "0" + text : text;
}

void ruCoutChar(unsigned char c) {
    if (c >= 0xC0) {
        // U+0410 + (c - 0xC0), encoded as two UTF-8 bytes.
        unsigned int code = 0x0410u + (c - 0xC0u);
        std::putchar(static_cast<int>(0xC0u | (code >> 6)));
        std::putchar(static_cast<int>(0x80u | (code & 0x3Fu)));
    } else if (c == 0xB2) {
        std::putchar('I');
    } else if (c == 0xB3) {
        std::putchar('i');
    } else {
        std::putchar(c);
    }
}

void ruCoutStr(const char* text) {
    for (; text != nullptr && *text != '\0'; ++text)
        ruCoutChar(static_cast<unsigned char>(*text));
}
