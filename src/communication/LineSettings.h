#pragma once

// The terminal attributes of a serial line, as plain changes to a termios
// record; the transport reads the record, changes it and writes it back.

#include <termios.h>

namespace Communication {

// Raw mode: no line editing, no echo, no signals, no output processing, no
// flow control; receiver on, modem lines ignored.
void makeRaw(termios& t);
// The speed constant of a supported rate (1200..115200); false otherwise.
bool speedOfRate(unsigned int rate, speed_t& speed);
// 5..8 data bits.
void setCharacterBits(termios& t, int bits);
// 0 none with 8 data bits, 1 odd or 2 even with 7 data bits; one stop bit.
void setParityBits(termios& t, int parity);
// Reads return what is there, or nothing after tenths of a second.
void setReadTimer(termios& t, cc_t tenths);
// VTIME counts tenths of a second up to 255: milliseconds rounded up and
// clamped; 0 stays 0 (reads return at once).
cc_t tenthsOfSecond(unsigned int milliseconds);

} // namespace Communication
