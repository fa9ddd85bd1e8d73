#include "client/ScreenBlock.h"

#include <cstring>

namespace {
const std::size_t kHeaderSize = 4;
// Entries end at or before this byte of the 240-byte block.
const std::size_t kBlockEnd = 239;
} // namespace

void addScreenLine(CTransactData& data, bool& startNew, unsigned char row, unsigned char col,
                   const char* text, unsigned char invert) {
    if (startNew) {
        data.m_displayLen = 0;
        startNew = false;
    }
    const std::size_t length = text != nullptr ? std::strlen(text) : 0;
    if (data.m_displayLen == 0)
        std::memset(data.m_displayBuf, 0, sizeof data.m_displayBuf);
    data.m_row = row;
    data.m_col = col;
    data.m_text = text != nullptr ? text : "";
    data.m_invert = invert;

    const std::size_t used = data.m_displayLen;
    if (length > kBlockEnd || used + kHeaderSize + length > kBlockEnd)
        return;
    std::uint8_t* entry = data.m_displayBuf + used;
    entry[0] = row;
    entry[1] = col;
    entry[2] = invert;
    entry[3] = static_cast<std::uint8_t>(length);
    std::memcpy(entry + kHeaderSize, text != nullptr ? text : "", length);
    data.m_displayLen = static_cast<std::uint8_t>(used + kHeaderSize + length);
}
