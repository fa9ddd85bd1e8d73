#pragma once

#include <cstddef>
#include <string>

// Small text helpers shared by logging, the transports and the engine.

// Decimal text of an int ("%i").
std::string ToString(int value);

// Two upper-case hexadecimal digits of value into out[0] and out[1]; no
// terminator (callers zero the buffer first).
void byte2hex(unsigned char value, char* out);

// Upper-case hexadecimal dump of a buffer, two digits per byte, no separators.
std::string hexify(const unsigned char* data, std::size_t length);

// The decimal text of value with a leading zero below 10 ("07", "12").
std::string GetNumFilledZero(int value);

// Prints Windows-1251 Cyrillic text to standard output as UTF-8: 0xC0..0xFF
// become U+0410..U+044F, 0xB2 and 0xB3 the Latin letters I and i, other bytes
// pass unchanged.
void ruCoutStr(const char* text);
void ruCoutChar(unsigned char c);
