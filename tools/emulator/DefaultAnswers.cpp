#include "DefaultAnswers.h"

#include "TerminalTags.h"

#include <algorithm>
#include <ctime>

namespace velaemu {
namespace {
// CP1251 texts.
const char* const kApproved = "\xD1\xD5\xC2\xC0\xCB\xC5\xCD\xCE";            // approved
const char* const kCancelled = "\xD1\xCA\xC0\xD1\xCE\xC2\xC0\xCD\xCE";       // cancelled
const char* const kUnsupported = "\xCD\xE5 \xEF\xB3\xE4\xF2\xF0\xE8\xEC\xF3" // not supported
                                 "\xBA\xF2\xFC\xF1\xFF";
const char* const kStatusTexts[] = {
    ("\xC2\xF1\xF2\xE0\xE2\xF2\xE5 \xE0\xE1\xEE \xEF\xB3\xE4\xED\xE5\xF1\xB3\xF2\xFC "
     "\xEA\xE0\xF0\xF2\xEA\xF3"),                                      // present the card
    "\xC2\xE2\xE5\xE4\xB3\xF2\xFC PIN",                                // enter the PIN
    "\xC7'\xBA\xE4\xED\xE0\xED\xED\xFF \xE7 \xE1\xE0\xED\xEA\xEE\xEC", // connecting to the bank
};
const std::uint32_t kCancelledCode = 1000;
const std::uint32_t kUnsupportedCode = 1001;

const std::uint32_t kReceiptKind = 1;
const std::uint32_t kDataFileKind = 3;
const std::uint32_t kFileParts = 3;

std::string decimal(std::uint32_t value) {
    return std::to_string(value);
}

// Splits text into `parts` nearly equal pieces.
std::vector<std::string> splitText(const std::string& text, std::uint32_t parts) {
    std::vector<std::string> pieces;
    std::size_t step = (text.size() + parts - 1) / parts;
    for (std::uint32_t i = 0; i < parts; ++i) {
        std::size_t start = std::min(text.size(), i * step);
        pieces.push_back(text.substr(start, step));
    }
    return pieces;
}
} // namespace

std::uint32_t finalTypeFor(std::uint32_t requestType) {
    switch (requestType) {
    case msg::TxnRequest:
        return msg::TxnResponse;
    case msg::ServiceRequest:
        return msg::ServiceResponse;
    case msg::ConfirmRequest:
        return msg::ConfirmResponse;
    case msg::ReadCardRequest:
        return msg::ReadCardResponseEx;
    case msg::ReadBankCardRequest:
        return msg::ReadCardResponse;
    case msg::PingRequest:
        return msg::PingResponse;
    case msg::FileRequest:
        return msg::FileResponse;
    case msg::TermCtrlRequest:
        return msg::TermCtrlResponse;
    case msg::SendFileRequest:
        return msg::SendFileResponse;
    default:
        return 0;
    }
}

LeMessage DefaultAnswers::statusMessage(int index) {
    int count = static_cast<int>(sizeof kStatusTexts / sizeof kStatusTexts[0]);
    int slot = (index - 1) % count;
    return LeMessage()
        .num(tag::MsgType, msg::Status)
        .num(tag::StatMsgCode, static_cast<std::uint32_t>(index))
        .text(tag::StatMsgText, kStatusTexts[slot < 0 ? 0 : slot]);
}

std::string DefaultAnswers::receiptText(const Request& request) {
    std::string title = "\xCE\xCF\xCB\xC0\xD2\xC0"; // payment
    if (request.number(tag::TxnType) == txn::Refund)
        title = "\xCF\xCE\xC2\xC5\xD0\xCD\xC5\xCD\xCD\xDF"; // refund
    std::uint32_t amount = request.number(tag::Amount, 1000);
    return std::string("\xD2\xCE\xC2 \"\xC2\xB3\xF0\xF2\xF3\xE0\xEB\xFC\xED\xE8\xE9 "
                       "\xF2\xE5\xF0\xEC\xB3\xED\xE0\xEB\"\n") + // company name
           "\xEC. \xCA\xE8\xBF\xE2, \xE2\xF3\xEB. \xD5\xF0\xE5\xF9\xE0\xF2\xE8\xEA, 1\n" + // address
           "TERMINAL VT000001\n" +
           title + "\n" + "\xD1\xD3\xCC\xC0: " + decimal(amount / 100) + "." + // amount
           (amount % 100 < 10 ? "0" : "") + decimal(amount % 100) + " UAH\n" +
           "MASTERCARD 516875******1234\n" + "\xCA\xCE\xC4 \xC0\xC2\xD2. A1B2C3\n" +    // auth code
           "RRN 123456789012\n" + kApproved + "\n" + "\xC4\xDF\xCA\xD3\xAA\xCC\xCE!\n"; // thanks
}

std::string DefaultAnswers::dataFileText() {
    std::string text;
    for (int line = 1; line <= 40; ++line)
        text += "DATA;" + decimal(line) + ";\xC4\xE0\xED\xB3;0123456789ABCDEF\n";
    return text;
}

LeMessage DefaultAnswers::finalMessage(std::uint32_t type) const {
    return LeMessage()
        .num(tag::MsgType, type)
        .num(tag::ResponseCode, 0)
        .text(tag::ResponseText, kApproved)
        .text(tag::TerminalID, "VT000001")
        .text(tag::MerchantID, "M00000000001");
}

void DefaultAnswers::addCard(LeMessage& message) const {
    message.text(tag::PAN, "516875******1234")
        .text(tag::CardHolder, "IVANENKO/PETRO")
        .num(tag::ExpYear, 28)
        .num(tag::ExpMonth, 7)
        .text(tag::IssuerName, "MASTERCARD")
        .text(tag::EmvAID, "A0000000041010")
        .num(tag::EntryMode, 7)
        .text(tag::PanHash, "9F86D081884C7D659A2FEAA0C55AD015");
}

void DefaultAnswers::addDateTime(LeMessage& message) const {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    message.num(tag::DateYear, static_cast<std::uint32_t>(local.tm_year % 100))
        .num(tag::DateMonth, static_cast<std::uint32_t>(local.tm_mon + 1))
        .num(tag::DateDay, static_cast<std::uint32_t>(local.tm_mday))
        .num(tag::TimeHour, static_cast<std::uint32_t>(local.tm_hour))
        .num(tag::TimeMinute, static_cast<std::uint32_t>(local.tm_min))
        .num(tag::TimeSecond, static_cast<std::uint32_t>(local.tm_sec));
}

void DefaultAnswers::addTotals(LeMessage& message) const {
    message.num(tag::DebitNum, 12)
        .num(tag::DebitAmt, 154300)
        .num(tag::CreditNum, 2)
        .num(tag::CreditAmt, 12000)
        .num(tag::CancelledNum, 1)
        .num(tag::CancelledAmt, 2500);
}

Reply DefaultAnswers::withStatuses(const LeMessage& final) {
    Reply reply;
    for (int i = 1; i <= m_statusCount; ++i)
        reply.push_back(Step::status(statusMessage(i)));
    reply.push_back(Step::frame(final));
    return reply;
}

Reply DefaultAnswers::answer(const Request& request) {
    if (!request.wellFormed)
        return Reply();
    switch (request.msgType()) {
    case msg::TxnRequest:
        return transaction(request);
    case msg::ServiceRequest:
        return service(request);
    case msg::TermCtrlRequest:
        return termControl(request);
    case msg::ReadCardRequest:
        return readCard(request, msg::ReadCardResponseEx);
    case msg::ReadBankCardRequest:
        return readCard(request, msg::ReadCardResponse);
    case msg::FileRequest:
        return fileRequest(request);
    case msg::SendFileRequest:
        return sendFileBlock(request);
    case msg::PingRequest:
    case msg::ConfirmRequest:
        return Reply{Step::frame(finalMessage(finalTypeFor(request.msgType())))};
    default:
        return unsupported(request);
    }
}

Reply DefaultAnswers::transaction(const Request& request) {
    std::uint32_t type = request.number(tag::TxnType);
    if (type == txn::Correction)
        return Reply(); // the running purchase answers for it
    LeMessage final = finalMessage(msg::TxnResponse);
    final.num(tag::ResultTxnType, type);
    addCard(final);
    addDateTime(final);
    std::uint32_t amount = request.number(tag::Amount, 1000);
    if (type == txn::Balance)
        amount = 2534567; // the card's balance
    std::uint32_t invoice = request.number(tag::InvoiceNum, 0);
    final.num(tag::Amount, amount)
        .num(tag::AddAmount, request.number(tag::AddAmount, 0))
        .num(tag::InvoiceNum, invoice != 0 ? invoice : ++m_invoice)
        .text(tag::RRN, request.has(tag::RRN) ? request.text(tag::RRN) : "123456789012")
        .text(tag::AuthCode, "A1B2C3")
        .num(tag::FlagAcquirer, 1)
        .num(tag::SignVerif, 0)
        .num(tag::TrnStatus, 1)
        .text(tag::Currency, "UAH")
        .text(tag::CurrCode, request.has(tag::CurrCode) ? request.text(tag::CurrCode) : "980")
        .num(tag::TrnBatchNum, 17)
        .text(tag::RNK, "RNK0001")
        .num(tag::SlipPrinted, 1)
        .num(tag::TxnNum, ++m_txnCount);
    if (type == txn::Completion)
        final.num(tag::CompletionInvoiceNum, ++m_invoice);
    if (type == txn::PurchaseService)
        final.text(tag::AddData, request.text(61));
    if (type == txn::ByOrder)
        final.num(tag::OrderNum, request.number(tag::OrderNum));
    bool identifyOnly = type == txn::Balance && request.number(tag::IdentifyCard) == 1;
    bool lookUp = type == txn::ByInvoice || type == txn::ByOrder;
    bool printed = !identifyOnly && (!lookUp || request.number(tag::ReceiptFlag) == 1);
    // A file tag completes the receiving message, so it goes last.
    if (printed)
        final.filePart(tag::Receipt, 1, 1, receiptText(request));
    return lookUp ? Reply{Step::frame(final)} : withStatuses(final);
}

Reply DefaultAnswers::service(const Request& request) {
    std::uint32_t op = request.number(tag::ServiceOp);
    LeMessage final = finalMessage(msg::ServiceResponse);
    bool withReceipt = false;
    switch (op) {
    case service::Settlement:
        addTotals(final);
        withReceipt = true;
        break;
    case service::BatchTotals:
        addTotals(final);
        withReceipt = request.number(tag::ReceiptFlag) == 1;
        break;
    case service::TxnNum:
        final.num(tag::TxnNum, m_txnCount);
        break;
    case service::CheckConnection:
    case service::SelectApp:
    case service::CloseApp:
        break;
    case service::LastSettleCopy:
    case service::BatchJournal:
        withReceipt = true;
        break;
    case service::POSGetInfo:
        final.text(tag::TerminalInfo, "MODEL=VT-1;SERIAL=00000001;APP=1.5.20;"
                                      "\xC1\xC0\xCD\xCA=DEMO"); // bank
        break;
    case service::POSExTransaction:
        final.text(tag::AddData, "EXT;OK").text(tag::ECRDataTM, "TM000001");
        break;
    case service::StartScenario:
        final
            .text(tag::ScenarioData,
                  "SCENARIO=" + decimal(request.number(74)) + ";" + request.text(tag::TerminalInfo))
            .num(tag::Amount, 1000)
            .text(tag::RRN, "123456789012")
            .text(tag::AuthCode, "A1B2C3")
            .text(tag::DiscountName, "\xC7\xCD\xC8\xC6\xCA\xC0 5%") // discount
            .num(tag::DiscountAttribute, 5);
        addCard(final);
        addDateTime(final);
        withReceipt = true;
        break;
    default:
        return unsupported(request);
    }
    if (withReceipt)
        final.filePart(tag::Receipt, 1, 1, receiptText(request));
    bool quick = op == service::TxnNum || op == service::POSGetInfo || op == service::SelectApp ||
                 op == service::CloseApp;
    if (quick)
        return Reply{Step::frame(final)};
    Reply reply;
    if (m_statusCount > 0)
        reply.push_back(Step::status(statusMessage(3)));
    reply.push_back(Step::frame(final));
    return reply;
}

Reply DefaultAnswers::termControl(const Request& request) {
    LeMessage final = finalMessage(msg::TermCtrlResponse);
    switch (request.number(tag::TermCmd)) {
    case termcmd::DisplayText:
    case termcmd::SetControlMode:
        break;
    case termcmd::ReadKey:
        final.num(tag::Key, '1');
        break;
    case termcmd::ExchangeStatuses:
        final.num(tag::Status, 1);
        break;
    default:
        return unsupported(request);
    }
    return Reply{Step::frame(final)};
}

Reply DefaultAnswers::readCard(const Request&, std::uint32_t answerType) {
    LeMessage final = finalMessage(answerType);
    addCard(final);
    final.text(tag::Track3, "9912345678901234567=0000")
        .text(tag::ExtraCardData, "LOYALTY=0001234567")
        .text(tag::CryptedData, "ENC:3F2A9C01D4");
    Reply reply;
    if (m_statusCount > 0)
        reply.push_back(Step::status(statusMessage(1)));
    reply.push_back(Step::frame(final));
    return reply;
}

Reply DefaultAnswers::fileRequest(const Request& request) {
    std::uint32_t kind = request.number(tag::DataKind);
    if (kind != kReceiptKind && kind != kDataFileKind)
        return unsupported(request);
    std::uint32_t fileTag = kind == kReceiptKind ? tag::Receipt : tag::DataFile;
    std::string content = kind == kReceiptKind ? receiptText(request) : dataFileText();
    Reply reply;
    if (m_statusCount > 0)
        reply.push_back(Step::status(statusMessage(3)));
    std::vector<std::string> pieces = splitText(content, kFileParts);
    for (std::uint32_t part = 1; part <= kFileParts; ++part) {
        LeMessage message = finalMessage(msg::FileResponse);
        message.filePart(fileTag, part, kFileParts, pieces[part - 1]);
        reply.push_back(Step::frame(message));
    }
    return reply;
}

Reply DefaultAnswers::sendFileBlock(const Request& request) {
    const Bytes* block = request.value(tag::FileData);
    if (block == nullptr || block->size() < 8)
        return unsupported(request);
    std::uint32_t number = be32(block->data());
    std::uint32_t count = be32(block->data() + 4);
    if (number < count)
        return Reply(); // more blocks follow; the frame's ACK is the answer
    return Reply{Step::frame(finalMessage(msg::SendFileResponse))};
}

Reply DefaultAnswers::unsupported(const Request& request) {
    std::uint32_t type = finalTypeFor(request.msgType());
    LeMessage final = LeMessage()
                          .num(tag::MsgType, type != 0 ? type : request.msgType() + 1)
                          .num(tag::ResponseCode, kUnsupportedCode)
                          .text(tag::ResponseText, kUnsupported)
                          .num(tag::AddResult, 2);
    return Reply{Step::frame(final)};
}

Reply DefaultAnswers::cancelled(const Request& request) {
    std::uint32_t type = finalTypeFor(request.msgType());
    if (type == 0)
        return Reply();
    LeMessage final = LeMessage()
                          .num(tag::MsgType, type)
                          .num(tag::ResponseCode, kCancelledCode)
                          .text(tag::ResponseText, kCancelled)
                          .num(tag::AddResult, 2);
    return Reply{Step::frame(final)};
}

} // namespace velaemu
