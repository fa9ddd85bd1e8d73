#pragma once

#include "engine/TransactData.h"

// Adds one line to the screen block of data (the caller holds the engine
// mutex). startNew clears the block first and is then reset. The last-line
// members always take the arguments. An entry is a 4-byte header (row,
// column, invert flag, text length) followed by the text; it goes in whole
// or not at all, so the block never announces text it does not hold:
// entries fill at most 239 of the 240 bytes.
void addScreenLine(CTransactData& data, bool& startNew, unsigned char row, unsigned char col,
                   const char* text, unsigned char invert);
