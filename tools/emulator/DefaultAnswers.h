#pragma once

// Plausible terminal answers to every request of the catalogue: an approved
// operation with the fields a real terminal fills in, preceded by status
// messages, receipts and data files in several file parts.

#include "TerminalScript.h"

#include <string>

namespace velaemu {

class DefaultAnswers {
public:
    // Status messages sent before the final answer of card, transaction,
    // service and file operations.
    void setStatusCount(int count) { m_statusCount = count; }
    int statusCount() const { return m_statusCount; }

    // The answer to a request; empty when the terminal sends nothing back (a
    // correction, a file block that is not the last, an unreadable request).
    Reply answer(const Request& request);
    // The final answer sent after the cash register aborted the request.
    Reply cancelled(const Request& request);

    // The receipt and data file texts (CP1251) the answers carry.
    static std::string receiptText(const Request& request);
    static std::string dataFileText();
    // The status message number `index` (from 1).
    static LeMessage statusMessage(int index);

private:
    Reply transaction(const Request& request);
    Reply service(const Request& request);
    Reply termControl(const Request& request);
    Reply readCard(const Request& request, std::uint32_t answerType);
    Reply fileRequest(const Request& request);
    Reply sendFileBlock(const Request& request);
    Reply unsupported(const Request& request);
    Reply withStatuses(const LeMessage& final);

    LeMessage finalMessage(std::uint32_t type) const;
    void addCard(LeMessage& message) const;
    void addDateTime(LeMessage& message) const;
    void addTotals(LeMessage& message) const;

    int m_statusCount = 2;
    std::uint32_t m_invoice = 100;
    std::uint32_t m_txnCount = 0;
};

// The final message type that answers a request type (0 when none does).
std::uint32_t finalTypeFor(std::uint32_t requestType);

} // namespace velaemu
