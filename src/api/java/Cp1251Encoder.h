#pragma once

#include <string>

// Converts NUL-terminated UTF-8 text to CP1251, the terminal's code page.
// Accepts standard UTF-8 and the JVM's modified UTF-8 (U+0000 as C0 80,
// characters above U+FFFF as two encoded surrogates). Every character that
// CP1251 cannot hold, and every malformed byte, becomes one '?'.
std::string utf8ToCp1251(const char* text);
