#pragma once

#include <cstddef>

// Converts CP1251 text to UTF-8 with iconv. Offers the length bytes of source
// and room bytes of target; writes no terminator. Returns false when the
// converter cannot be opened (target untouched).
bool cp1251ToUtf8(const char* source, std::size_t length, char* target, std::size_t room);
