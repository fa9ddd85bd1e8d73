#pragma once

#include <cstdint>
#include <string>

// Parameters of the operation to run: written by the facade under the engine
// mutex while the worker is idle, read by the request builders.
struct CTransactData {
    std::uint32_t m_amount = 0;
    std::uint32_t m_addAmount = 0;
    std::uint8_t m_merchIdx = 0;
    char m_rrn[1024] = {}; // NUL-terminated, at most 1023 characters
    std::uint32_t m_invoiceNum = 0;
    std::uint32_t m_orderNum = 0;
    std::string m_serviceParams;
    char m_currCode[4] = {}; // terminated inside the 4 bytes when shorter than 4
    std::uint8_t m_accNumber = 0;
    std::uint8_t m_identifyCard = 0; // 1 card identification, 0 balance enquiry
    std::uint8_t m_ctrlMode = 0;
    std::uint8_t m_timeOut = 0;
    std::uint8_t m_beep = 0;
    // Screen block: entries of row, column, invert flag, text length (one
    // byte each) followed by the text bytes without terminator.
    std::uint8_t m_displayBuf[240] = {};
    std::uint8_t m_displayLen = 0; // bytes used in m_displayBuf
    std::uint8_t m_row = 0;        // the last screen line added
    std::uint8_t m_col = 0;
    std::string m_text;
    std::uint8_t m_invert = 0;
    std::uint8_t m_ecrStatus = 0;
    std::string m_appName;
    std::uint32_t m_appIdx = 0;
    std::uint32_t m_scenarioID = 0;
    std::string m_scenarioData;
    // Sent with every later request that carries them, until replaced.
    std::string m_extraPrintData;
    std::string m_extraXmlData;
    std::string m_fullPath; // file to send
};
