// Every operation through the exported C functions against the emulated
// terminal over TCP: the call, the poll, the parameters the terminal
// received, and every result field of the terminal's final answer read back
// through its C function: numbers as sent, CP1251 texts as UTF-8 in a buffer
// of the documented size with nothing written past 2 x L + 1 bytes.
#include "DefaultAnswers.h"
#include "TerminalEmulator.h"
#include "velaecr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iconv.h>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using velaemu::Bytes;

Bytes be(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string utf8Of(const std::string& cp1251) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    std::string out(cp1251.size() * 3, '\0');
    char* in = const_cast<char*>(cp1251.data());
    char* dst = &out[0];
    std::size_t inLeft = cp1251.size(), outLeft = out.size();
    iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

const char kCyrillicLine[] = "\xCF\xF0\xE8\xE2\xB3\xF2"; // a greeting, CP1251

// Bounded wait for the running operation to end: its last result, or -99.
int waitForResult() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int state = VELALib_LastResult();
    while (state == 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        state = VELALib_LastResult();
    }
    return state == 2 ? -99 : state;
}

// What the terminal's final frames carried: plain values, and files
// assembled from their parts.
struct Answer {
    std::map<std::uint32_t, Bytes> values;
    std::map<std::uint32_t, std::string> files;
};

const std::uint32_t kReceiptTag = 44, kDataFileTag = 85;

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void addFrame(const Bytes& body, Answer& answer) {
    for (std::size_t at = 0; at + 8 <= body.size();) {
        std::uint32_t tag = le32(&body[at]);
        std::uint32_t length = le32(&body[at + 4]);
        Bytes value(body.begin() + static_cast<long>(at + 8),
                    body.begin() + static_cast<long>(at + 8 + length));
        if (tag == kReceiptTag || tag == kDataFileTag)
            answer.files[tag] += std::string(value.begin() + 8, value.end());
        else
            answer.values[tag] = value;
        at += 8 + length;
    }
}

// ---- Reading a field back through its C function ----

typedef int (*TextFunction)(char*);
typedef int (*ValueFunction)(void);

struct TextField {
    TextFunction read;
    int capacity;
    int cleared; // bytes the function clears before it asks
};

const std::map<std::uint32_t, TextField>& textFields() {
    static const std::map<std::uint32_t, TextField> fields = {
        {4, {VELALib_PAN, 128, 20}},
        {5, {VELALib_TerminalID, 128, 0}},
        {6, {VELALib_MerchantID, 128, 0}},
        {15, {VELALib_LastErrorDescription, 128, 0}}, // the terminal's text
        {16, {VELALib_AuthCode, 128, 0}},
        {18, {VELALib_RRN, 128, 0}},
        {23, {VELALib_CardHolder, 128, 0}},
        {26, {VELALib_IssueName, 128, 0}},
        {29, {VELALib_CryptedData, 999, 999}},
        {31, {VELALib_LastStatMsgDescription, 128, 0}},
        {44, {VELALib_Receipt, 4096, 4096}},
        {46, {VELALib_emvAID, 128, 0}},
        {58, {VELALib_Track3, 128, 0}},
        {59, {VELALib_CurrencyCode, 128, 0}},
        {63, {VELALib_Currency, 128, 0}},
        {66, {VELALib_RNK, 128, 0}},
        {67, {VELALib_AddData, 999, 999}},
        {68, {VELALib_TerminalInfo, 1200, 1200}},
        {69, {VELALib_DiscountName, 128, 0}},
        {71, {VELALib_ECRDataTM, 128, 0}},
        {76, {VELALib_ScenarioData, 999, 999}},
        {84, {VELALib_ExtraCardData, 300, 300}},
        {85, {VELALib_DataFile, 204800, 204800}},
        {86, {VELALib_PanHash, 128, 0}},
    };
    return fields;
}

const std::map<std::uint32_t, ValueFunction>& valueFields() {
    static const std::map<std::uint32_t, ValueFunction> fields = {
        {3, VELALib_Amount},
        {14, VELALib_ResponseCode},
        {17, VELALib_InvoiceNum},
        {30, VELALib_LastStatMsgCode},
        {32, VELALib_FlagAcquirer},
        {34, VELALib_TotalsDebitNum},
        {35, VELALib_TotalsDebitAmt},
        {36, VELALib_TotalsCreditNum},
        {37, VELALib_TotalsCreditAmt},
        {38, VELALib_TotalsCancelledNum},
        {39, VELALib_TotalsCancelledAmt},
        {40, VELALib_SignVerif},
        {41, VELALib_TxnNum},
        {43, VELALib_TxnType},
        {45, VELALib_AddAmount},
        {50, VELALib_EntryMode},
        {53, VELALib_Key},
        {55, VELALib_TermStatus},
        {62, VELALib_TrnStatus},
        {64, VELALib_TrnBatchNum},
        {70, VELALib_DiscountAttribute},
        {87, VELALib_SlipPrinted},
    };
    return fields;
}

const std::uint32_t kByteTags[] = {30, 40, 43, 50, 53, 55, 62, 87};
// Tags of the answer that no C function reads: the message type, the
// additional result, the order number and the completion's invoice number.
const std::uint32_t kUnreadTags[] = {1, 42, 49, 83};
// Read together: the date and time, and the expiry date.
const std::uint32_t kDateTags[] = {10, 9, 8, 11, 12, 13};
const std::uint32_t kExpiryTags[] = {24, 25};

bool isOneOf(std::uint32_t tag, const std::uint32_t* begin, const std::uint32_t* end) {
    return std::find(begin, end, tag) != end;
}

// The text through its C function in a buffer of the documented size
// (2 x C + 1) plus a guard: the UTF-8 text, zeros up to 2 x L + 1 and up to
// the cleared part, and the guard and everything after untouched.
void expectText(const char* what, const TextField& field, const std::string& cp1251) {
    const std::size_t size = 2 * static_cast<std::size_t>(field.capacity) + 1;
    const std::size_t guard = 64;
    std::vector<char> buffer(size + guard, '\x5A');
    ASSERT_EQ(field.read(buffer.data()), 0) << what;
    const std::string utf8 = utf8Of(cp1251);
    EXPECT_EQ(std::string(buffer.data()), utf8) << what;
    const std::size_t zeroEnd = std::max(2 * cp1251.size() + 1, std::size_t(field.cleared));
    for (std::size_t i = utf8.size(); i < zeroEnd; ++i)
        ASSERT_EQ(buffer[i], '\0') << what << " at " << i;
    for (std::size_t i = zeroEnd; i < buffer.size(); ++i)
        ASSERT_EQ(buffer[i], '\x5A') << what << " at " << i;
}

std::string twoDigits(const Answer& answer, const std::uint32_t* begin, const std::uint32_t* end) {
    std::string text;
    for (const std::uint32_t* tag = begin; tag != end; ++tag) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%02u", le32(answer.values.at(*tag).data()));
        text += digits;
    }
    return text;
}

// Every field the answer carries, read through its C function.
void expectFields(const char* operation, const Answer& answer) {
    for (const auto& element : answer.values) {
        const std::uint32_t tag = element.first;
        const Bytes& value = element.second;
        SCOPED_TRACE(std::string(operation) + ", tag " + std::to_string(tag));
        if (textFields().count(tag) != 0) {
            expectText(operation, textFields().at(tag), std::string(value.begin(), value.end()));
        } else if (valueFields().count(tag) != 0) {
            ASSERT_EQ(value.size(), 4u);
            std::uint32_t number = le32(value.data());
            if (isOneOf(tag, std::begin(kByteTags), std::end(kByteTags)))
                number &= 0xFF;
            EXPECT_EQ(valueFields().at(tag)(), static_cast<int>(number));
        } else if (isOneOf(tag, std::begin(kDateTags), std::end(kDateTags))) {
            expectText(operation, {VELALib_DateTime, 128, 0},
                       twoDigits(answer, std::begin(kDateTags), std::end(kDateTags)));
        } else if (isOneOf(tag, std::begin(kExpiryTags), std::end(kExpiryTags))) {
            expectText(operation, {VELALib_ExpDate, 128, 5},
                       twoDigits(answer, std::begin(kExpiryTags), std::end(kExpiryTags)));
        } else {
            EXPECT_TRUE(isOneOf(tag, std::begin(kUnreadTags), std::end(kUnreadTags)))
                << "no C function reads this field";
        }
    }
    for (const auto& file : answer.files) {
        SCOPED_TRACE(std::string(operation) + ", file tag " + std::to_string(file.first));
        expectText(operation, textFields().at(file.first), file.second);
        if (file.first == kDataFileTag) {
            std::vector<char> bytes(204800, '\0');
            int length = -1;
            ASSERT_EQ(VELALib_DataFileBinary(bytes.data(), &length), 0);
            EXPECT_EQ(std::string(bytes.data(), static_cast<std::size_t>(length)), file.second);
        }
    }
}

// ---- The operations ----

struct Operation {
    const char* name;
    std::function<int()> call;
    // Elements the request must carry (numbers big-endian).
    std::vector<std::pair<std::uint32_t, Bytes>> request;
};

std::string gFileToSend;

const std::vector<Operation>& operations() {
    static const std::vector<Operation> table = {
        {"Purchase",
         [] { return VELALib_Purchase(12550, 100, 1); },
         {{1, be(1)}, {2, be(1)}, {3, be(12550)}, {33, be(1)}, {45, be(100)}}},
        {"Refund",
         [] { return VELALib_Refund(5000, 0, 1, const_cast<char*>("123456789012")); },
         {{2, be(10)}, {3, be(5000)}, {18, bytesOf("123456789012")}}},
        {"Void", [] { return VELALib_Void(101, 1); }, {{2, be(11)}, {17, be(101)}}},
        {"Settlement", [] { return VELALib_Settlement(0); }, {{27, be(1)}, {33, be(0)}}},
        {"PrintBatchTotals",
         [] { return VELALib_PrintBatchTotals(1); },
         {{27, be(2)}, {33, be(1)}, {47, be(1)}}},
        {"PurchaseService",
         [] { return VELALib_PurchaseService(1, 3000, const_cast<char*>("SERVICE=42")); },
         {{2, be(18)}, {3, be(3000)}, {61, bytesOf("SERVICE=42")}}},
        {"IdentifyCard",
         [] { return VELALib_IdentifyCard(1, const_cast<char*>("9801"), 2); },
         {{2, be(16)}, {59, bytesOf("980")}, {60, be(2)}, {65, be(1)}}},
        {"GetTxnNum", [] { return VELALib_GetTxnNum(); }, {{27, be(4)}}},
        {"GetTxnDataByOrder",
         [] { return VELALib_GetTxnDataByOrder(3); },
         {{2, be(13)}, {42, be(3)}}},
        {"GetTxnDataByInv",
         [] { return VELALib_GetTxnDataByInv(101, 1); },
         {{2, be(12)}, {17, be(101)}}},
        {"GetBatchTotals", [] { return VELALib_GetBatchTotals(1); }, {{27, be(2)}, {33, be(1)}}},
        {"CheckConnection", [] { return VELALib_CheckConnection(1); }, {{27, be(5)}}},
        {"ReqCurrReceipt", [] { return VELALib_ReqCurrReceipt(); }, {{1, be(14)}, {48, be(1)}}},
        {"PrintLastSettleCopy", [] { return VELALib_PrintLastSettleCopy(1); }, {{27, be(6)}}},
        {"PrintBatchJournal", [] { return VELALib_PrintBatchJournal(1); }, {{27, be(7)}}},
        {"ReqReceiptByInv",
         [] { return VELALib_ReqReceiptByInv(101, 1); },
         {{2, be(12)}, {17, be(101)}, {47, be(1)}}},
        {"SetControlMode", [] { return VELALib_SetControlMode(true); }, {{52, be(4)}, {51, be(1)}}},
        {"ReadKey", [] { return VELALib_ReadKey(30); }, {{52, be(2)}, {54, be(30)}}},
        {"DisplayText",
         [] {
             // The screen block: two lines; the second text is CP1251.
             if (VELALib_SetScreen(2) != 0 || VELALib_SetLine(1, 0, "Hello", 0) != 0 ||
                 VELALib_SetLine(2, 3, kCyrillicLine, 1) != 0)
                 return -100;
             return VELALib_DisplayText(1);
         },
         {{52, be(1)},
          {56, be(1)},
          {57,
           {1, 0, 0, 5, 'H', 'e', 'l', 'l', 'o', 2, 3, 1, 6, 0xCF, 0xF0, 0xE8, 0xE2, 0xB3, 0xF2}},
          {81, be(2)}}},
        {"ExchangeStatuses",
         [] { return VELALib_ExchangeStatuses(3); },
         {{52, be(3)}, {55, be(3)}}},
        {"Completion",
         [] { return VELALib_Completion(1, 7000, "123456789012", 101); },
         {{2, be(15)}, {3, be(7000)}, {17, be(101)}, {18, bytesOf("123456789012")}}},
        {"ReadCard", [] { return VELALib_ReadCard(); }, {{1, be(7)}}},
        {"Balance",
         [] { return VELALib_Balance(1, "980", 2); },
         {{2, be(16)}, {59, bytesOf("980")}, {60, be(2)}, {65, be(0)}}},
        {"Deposit",
         [] { return VELALib_Deposit(1, 4000, "980", 2); },
         {{2, be(17)}, {3, be(4000)}, {59, bytesOf("980")}}},
        {"POSGetInfo", [] { return VELALib_POSGetInfo(); }, {{27, be(8)}}},
        {"POSExTransaction", [] { return VELALib_POSExTransaction(); }, {{27, be(9)}}},
        {"SelectApp",
         [] { return VELALib_SelectApp("PAY", 2); },
         {{27, be(10)}, {72, bytesOf("PAY")}, {73, be(2)}}},
        {"CloseApp", [] { return VELALib_CloseApp(); }, {{27, be(11)}}},
        {"StartScenario",
         [] { return VELALib_StartScenario(7, "ITEM=1"); },
         {{27, be(12)}, {68, bytesOf("ITEM=1")}, {74, be(7)}}},
        {"SendFile",
         [] { return VELALib_SendFile(gFileToSend.c_str(), 1, 5); },
         {{1, be(18)}, {78, be(1)}, {79, be(5)}}},
        {"CashAdvance",
         [] { return VELALib_CashAdvance(1, 6000, "980", 2); },
         {{2, be(20)}, {3, be(6000)}, {59, bytesOf("980")}}},
        {"ReadBankCard", [] { return VELALib_ReadBankCard(); }, {{1, be(20)}}},
        {"ReqDataFile", [] { return VELALib_ReqDataFile(); }, {{1, be(14)}, {48, be(3)}}},
        {"Confirm", [] { return VELALib_Confirm(); }, {{1, be(5)}}},
        {"Ping", [] { return VELALib_Ping(); }, {{1, be(11)}}},
    };
    return table;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        m_terminal.setResponder([this](const velaemu::Request& request, velaemu::Reply& reply) {
            reply = m_answers.answer(request);
            std::lock_guard<std::mutex> lock(m_mutex);
            m_replies.push_back(reply);
            return true;
        });
        std::uint16_t port = m_terminal.startTcp();
        ASSERT_NE(port, 0);
        ASSERT_EQ(VELALib_InitializeVELA(), 0);
        ASSERT_EQ(VELALib_CommOpenTCP("127.0.0.1", std::to_string(port).c_str()), 0);
    }
    void TearDown() override {
        VELALib_UninitializeVELA();
        m_terminal.stop();
    }

    // The final frames of the answers sent since the last call.
    Answer takeAnswer() {
        std::lock_guard<std::mutex> lock(m_mutex);
        Answer answer;
        for (const velaemu::Reply& reply : m_replies)
            for (const velaemu::Step& step : reply)
                if (step.kind == velaemu::Step::Frame && step.lead == velaemu::kSTX)
                    addFrame(step.body, answer);
        m_replies.clear();
        return answer;
    }

    velaemu::TerminalEmulator m_terminal;
    velaemu::DefaultAnswers m_answers;
    std::mutex m_mutex;
    std::vector<velaemu::Reply> m_replies;
};

TEST_F(EndToEnd, EveryOperationAndEveryFieldOfItsAnswer) {
    char path[] = "/tmp/velaecr-send-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "file content\n", 13), 13);
    close(fd);
    gFileToSend = path;

    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        m_terminal.clearRecords();
        takeAnswer();
        ASSERT_EQ(op.call(), 0);
        ASSERT_EQ(waitForResult(), 0);
        EXPECT_EQ(VELALib_LastErrorCode(), 0);

        std::vector<velaemu::Request> requests = m_terminal.requests();
        ASSERT_FALSE(requests.empty());
        for (const auto& element : op.request) {
            const Bytes* value = requests.front().value(element.first);
            ASSERT_NE(value, nullptr) << "request tag " << element.first;
            EXPECT_EQ(*value, element.second) << "request tag " << element.first;
        }
        Answer answer = takeAnswer();
        ASSERT_FALSE(answer.values.empty());
        expectFields(op.name, answer);
    }
    unlink(path);
}

} // namespace

namespace {

// Polls the status code of the running operation until it reads code.
bool waitForStatus(int code) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (VELALib_LastStatMsgCode() == code)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

TEST_F(EndToEnd, StatusMessagesAndACorrectionWhileAPurchaseRuns) {
    // The terminal sends one status message and holds the final answer back.
    m_terminal.queueReply({velaemu::Step::status(velaemu::DefaultAnswers::statusMessage(2))});
    ASSERT_EQ(VELALib_Purchase(10000, 0, 0), 0);
    ASSERT_TRUE(waitForStatus(2));
    EXPECT_EQ(VELALib_LastResult(), 2);
    char text[257];
    ASSERT_EQ(VELALib_LastStatMsgDescription(text), 0);
    EXPECT_EQ(std::string(text), utf8Of("\xC2\xE2\xE5\xE4\xB3\xF2\xFC PIN"));

    EXPECT_EQ(VELALib_CorrectTransaction(9000, 50), 0);
    ASSERT_TRUE(m_terminal.waitForRequests(2, 10000));
    const velaemu::Request correction = m_terminal.requests()[1];
    EXPECT_EQ(correction.number(2), 19u);
    EXPECT_EQ(correction.number(3), 9000u);
    EXPECT_EQ(correction.number(45), 50u);

    m_terminal.push({velaemu::Step::frame(
        velaemu::LeMessage().num(1, 2).num(14, 0).num(3, 9000).text(18, "RRN000000001"))});
    ASSERT_EQ(waitForResult(), 0);
    EXPECT_EQ(VELALib_Amount(), 9000);
    EXPECT_EQ(VELALib_LastStatMsgCode(), -8); // the final answer replaced the status
}

TEST_F(EndToEnd, ADeclineIsDescribedByTheTerminalsOwnText) {
    const std::string refusal = "\xCD\xE5\xE4\xEE\xF1\xF2\xE0\xF2\xED\xFC\xEE "
                                "\xEA\xEE\xF8\xF2\xB3\xE2"; // insufficient funds
    m_terminal.queueReply({velaemu::Step::frame(
        velaemu::LeMessage().num(1, 2).num(14, 51).text(15, refusal).num(49, 2))});
    ASSERT_EQ(VELALib_Purchase(10000, 0, 0), 0);
    ASSERT_EQ(waitForResult(), 1);
    EXPECT_EQ(VELALib_LastErrorCode(), 4);
    for (unsigned char language = 0; language < 3; ++language) {
        ASSERT_EQ(VELALib_SetErrorLang(language), 0);
        char text[257];
        ASSERT_EQ(VELALib_LastErrorDescription(text), 0);
        EXPECT_EQ(std::string(text), utf8Of(refusal));
    }
    EXPECT_EQ(VELALib_ResponseCode(), 51);
}

TEST_F(EndToEnd, ExtraPrintDataGoesWithLaterRequestsUntilCleared) {
    const char extra[] = "\xC7\xED\xE8\xE6\xEA\xE0"; // discount, CP1251
    ASSERT_EQ(VELALib_SetExtraPrintData(extra), 0);
    for (int round = 0; round < 2; ++round) {
        m_terminal.clearRecords();
        ASSERT_EQ(VELALib_Purchase(100, 0, 0), 0);
        ASSERT_EQ(waitForResult(), 0);
        ASSERT_EQ(m_terminal.requests().size(), 1u);
        EXPECT_EQ(m_terminal.requests()[0].text(75), extra) << round;
    }
    ASSERT_EQ(VELALib_SetExtraPrintData(nullptr), 0);
    m_terminal.clearRecords();
    ASSERT_EQ(VELALib_Purchase(100, 0, 0), 0);
    ASSERT_EQ(waitForResult(), 0);
    EXPECT_FALSE(m_terminal.requests()[0].has(75));
}

TEST(EndToEndSerial, APurchaseOverThePseudoTerminal) {
    velaemu::TerminalEmulator terminal;
    std::string device = terminal.startPty();
    ASSERT_FALSE(device.empty());
    ASSERT_EQ(VELALib_InitializeVELA(), 0);
    ASSERT_EQ(VELALib_CommOpen(device.c_str(), 115200), 0);
    ASSERT_EQ(VELALib_Purchase(12550, 0, 0), 0);
    EXPECT_EQ(waitForResult(), 0);
    EXPECT_EQ(VELALib_Amount(), 12550);
    std::vector<char> receipt(8193, '\0');
    ASSERT_EQ(VELALib_Receipt(receipt.data()), 0);
    EXPECT_NE(std::string(receipt.data()).find("СУМА: 125.50 UAH"), std::string::npos);
    EXPECT_EQ(VELALib_UninitializeVELA(), 0);
    terminal.stop();
}

} // namespace
