// The result accessors on a current result message filled as the worker
// fills it: tags, sizes, numbers, the fields with their own rules, and which
// accessors record their code in the last-result state.
#include "FacadeTestClient.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string le(unsigned value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    return bytes;
}

typedef int (CVELAECRClient::*TextAccessor)(char*, int);
typedef int (CVELAECRClient::*NumberAccessor)(unsigned&);
typedef int (CVELAECRClient::*ByteAccessor)(unsigned char&);

struct TextField {
    const char* name;
    TextAccessor accessor;
    unsigned tag;
    bool recorded; // passes its code through ret
};

const TextField kTextFields[] = {
    {"RRN", &CVELAECRClient::get_RRN, 18, true},
    {"TerminalID", &CVELAECRClient::get_TerminalID, 5, true},
    {"MerchantID", &CVELAECRClient::get_MerchantID, 6, true},
    {"AuthCode", &CVELAECRClient::get_AuthCode, 16, true},
    {"LastStatMsgDescription", &CVELAECRClient::get_LastStatMsgDescription, 31, false},
    {"PAN", &CVELAECRClient::get_PAN, 4, false},
    {"CardNumber", &CVELAECRClient::get_CardNumber, 4, true},
    {"CardHolder", &CVELAECRClient::get_CardHolder, 23, true},
    {"IssuerName", &CVELAECRClient::get_IssuerName, 26, true},
    {"Receipt", &CVELAECRClient::get_Receipt, 44, true},
    {"emvAID", &CVELAECRClient::get_emvAID, 46, true},
    {"Track3", &CVELAECRClient::get_Track3, 58, true},
    {"Currency", &CVELAECRClient::get_Currency, 63, true},
    {"RNK", &CVELAECRClient::get_RNK, 66, true},
    {"CurrencyCode", &CVELAECRClient::get_CurrencyCode, 59, true},
    {"AddData", &CVELAECRClient::get_AddData, 67, true},
    {"TeminalInfo", &CVELAECRClient::get_TeminalInfo, 68, true},
    {"TerminalInfo", &CVELAECRClient::get_TerminalInfo, 68, true},
    {"DiscountName", &CVELAECRClient::get_DiscountName, 69, true},
    {"ECRDataTM", &CVELAECRClient::get_ECRDataTM, 71, true},
    {"ScenarioData", &CVELAECRClient::get_ScenarioData, 76, true},
    {"CryptedData", &CVELAECRClient::get_CryptedData, 29, true},
    {"ExtraCardData", &CVELAECRClient::get_ExtraCardData, 84, true},
    {"DataFile", &CVELAECRClient::get_DataFile, 85, true},
    {"PanHash", &CVELAECRClient::get_PanHash, 86, true},
};

struct NumberField {
    const char* name;
    NumberAccessor accessor;
    unsigned tag;
};

const NumberField kNumberFields[] = {
    {"InvoiceNum", &CVELAECRClient::get_InvoiceNum, 17},
    {"CompletionInvoiceNum", &CVELAECRClient::get_CompletionInvoiceNum, 83},
    {"TotalsDebitAmt", &CVELAECRClient::get_TotalsDebitAmt, 35},
    {"TotalsDebitNum", &CVELAECRClient::get_TotalsDebitNum, 34},
    {"TotalsCreditAmt", &CVELAECRClient::get_TotalsCreditAmt, 37},
    {"TotalsCreditNum", &CVELAECRClient::get_TotalsCreditNum, 36},
    {"TotalsCancelledAmt", &CVELAECRClient::get_TotalsCancelledAmt, 39},
    {"TotalsCancelledNum", &CVELAECRClient::get_TotalsCancelledNum, 38},
    {"TxnNum", &CVELAECRClient::get_TxnNum, 41},
    {"Amount", &CVELAECRClient::get_Amount, 3},
    {"AddAmount", &CVELAECRClient::get_AddAmount, 45},
    {"TrnBatchNum", &CVELAECRClient::get_TrnBatchNum, 64},
    {"DiscountAttribute", &CVELAECRClient::get_DiscountAttribute, 70},
    {"FlagAcquirer", &CVELAECRClient::get_FlagAcquirer, 32},
};

struct ByteField {
    const char* name;
    ByteAccessor accessor;
    unsigned tag;
    bool recorded;
};

const ByteField kByteFields[] = {
    {"TxnType", &CVELAECRClient::get_TxnType, 43, true},
    {"LastStatMsgCode", &CVELAECRClient::get_LastStatMsgCode, 30, false},
    {"SignVerif", &CVELAECRClient::get_SignVerif, 40, true},
    {"EntryMode", &CVELAECRClient::get_EntryMode, 50, true},
    {"TermStatus", &CVELAECRClient::get_TermStatus, 55, true},
    {"Key", &CVELAECRClient::get_Key, 53, true},
    {"TrnStatus", &CVELAECRClient::get_TrnStatus, 62, true},
    {"SlipPrinted", &CVELAECRClient::get_SlipPrinted, 87, true},
};

// A failed operation's state, to see whether an accessor records its code.
void failWithOwnCode(FacadeTestClient& client) {
    client.ret(302);
}

TEST(TextAccessors, ReadTheirTagWithTheSizeRules) {
    for (const TextField& f : kTextFields) {
        FacadeTestClient client;
        client.setResult({{f.tag, "ABC123"}});
        char buffer[16];

        failWithOwnCode(client);
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ((client.*f.accessor)(buffer, 10), 0) << f.name;
        EXPECT_EQ(std::string(buffer, 11), std::string("ABC123\0\0\0\0x", 11)) << f.name;
        EXPECT_EQ(client.m_errorKind, f.recorded ? 0u : 4u) << f.name;

        std::memset(buffer, 'x', sizeof buffer); // exactly the capacity: no terminator
        EXPECT_EQ((client.*f.accessor)(buffer, 6), 0) << f.name;
        EXPECT_EQ(std::string(buffer, 7), "ABC123x") << f.name;

        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ((client.*f.accessor)(buffer, 5), 10) << f.name;
        EXPECT_EQ(std::string(buffer, 16), std::string(16, 'x')) << f.name;

        client.setResult({{f.tag, ""}, {1, le(2)}});
        failWithOwnCode(client);
        EXPECT_EQ((client.*f.accessor)(buffer, 10), 8) << f.name;
        EXPECT_EQ(client.m_errorCode, f.recorded ? 8u : 302u) << f.name;
        client.setResult({});
        EXPECT_EQ((client.*f.accessor)(buffer, 10), 8) << f.name;
    }
}

TEST(NumberAccessors, ReadFourByteLittleEndianValuesOnly) {
    for (const NumberField& f : kNumberFields) {
        FacadeTestClient client;
        unsigned value = 7;
        client.setResult({{f.tag, le(0x80000102u)}});
        failWithOwnCode(client);
        EXPECT_EQ((client.*f.accessor)(value), 0) << f.name;
        EXPECT_EQ(value, 0x80000102u) << f.name;
        EXPECT_EQ(client.m_errorKind, 0u) << f.name;

        for (const std::string& bad : {std::string("\x01\x02\x03", 3), std::string(5, '\x01')}) {
            client.setResult({{f.tag, bad}});
            value = 7;
            EXPECT_EQ((client.*f.accessor)(value), 9) << f.name;
            EXPECT_EQ(value, 7u) << f.name;
        }
        client.setResult({});
        EXPECT_EQ((client.*f.accessor)(value), 8) << f.name;
        EXPECT_EQ(value, 7u) << f.name;
        EXPECT_EQ(client.m_errorCode, 8u) << f.name;
    }
}

TEST(ByteAccessors, KeepTheLowByteOfTheNumber) {
    for (const ByteField& f : kByteFields) {
        FacadeTestClient client;
        unsigned char value = 7;
        client.setResult({{f.tag, le(258)}});
        failWithOwnCode(client);
        EXPECT_EQ((client.*f.accessor)(value), 0) << f.name;
        EXPECT_EQ(value, 2) << f.name;
        EXPECT_EQ(client.m_errorKind, f.recorded ? 0u : 4u) << f.name;

        client.setResult({{f.tag, "\x05"}});
        value = 7;
        EXPECT_EQ((client.*f.accessor)(value), 9) << f.name;
        EXPECT_EQ(value, 7) << f.name;
        client.setResult({});
        EXPECT_EQ((client.*f.accessor)(value), 8) << f.name;
    }
}

TEST(DateAccessors, PrintTheirNumbersWithTwoDigits) {
    FacadeTestClient client;
    client.setResult({{10, le(24)},
                      {9, le(3)},
                      {8, le(15)},
                      {11, le(9)},
                      {12, le(5)},
                      {13, le(7)},
                      {24, le(12)},
                      {25, le(7)}});
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(client.get_DateTime(buffer, 16), 0);
    EXPECT_EQ(std::string(buffer, 16), std::string("240315090507\0\0\0\0", 16));
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(client.get_DateTime(buffer, 12), 0);
    EXPECT_EQ(std::string(buffer, 13), "240315090507x");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(client.get_DateTime(buffer, 11), 10);
    EXPECT_EQ(client.get_ExpDate(buffer, 3), 10);
    EXPECT_EQ(std::string(buffer, 16), std::string(16, 'x'));
    EXPECT_EQ(client.m_errorKind, 3u);
    EXPECT_EQ(client.get_ExpDate(buffer, 16), 0);
    EXPECT_STREQ(buffer, "1207");

    client.setResult({{10, le(24)}, {9, le(3)}, {8, le(15)}, {11, le(9)}, {13, le(7)}});
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(client.get_DateTime(buffer, 16), 8);
    EXPECT_EQ(std::string(buffer, 16), std::string(16, 'x'));
    EXPECT_EQ(client.m_errorCode, 8u);
}

TEST(ResponseCode, ConfirmationAnswersReportTheLastCode) {
    FacadeTestClient client;
    unsigned value = 0;
    client.setResult({{1, le(6)}, {14, le(55)}});
    client.ret(302);
    EXPECT_EQ(client.get_ResponseCode(value), 0);
    EXPECT_EQ(value, 302u);
    client.setResult({{1, le(2)}, {14, le(55)}});
    EXPECT_EQ(client.get_ResponseCode(value), 0);
    EXPECT_EQ(value, 55u);
    client.setResult({{1, le(2)}});
    value = 9;
    EXPECT_EQ(client.get_ResponseCode(value), 8);
    EXPECT_EQ(value, 9u);
    EXPECT_EQ(client.m_lastCode, 302u); // not recorded
}

TEST(DataFileBinary, ReturnsTheBytesAndTheirCount) {
    FacadeTestClient client;
    const std::string bytes("\x00\xFF\x00"
                            "data",
                            7);
    client.setResult({{85, bytes}});
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    int length = -1;
    EXPECT_EQ(client.get_DataFileBinary(buffer, length, 7), 0);
    EXPECT_EQ(length, 7);
    EXPECT_EQ(std::string(buffer, 8), bytes + "x");
    length = -1;
    EXPECT_EQ(client.get_DataFileBinary(buffer, length, 6), 10);
    EXPECT_EQ(length, -1);
}

TEST(Accessors, ASuccessfulReadClearsAFailedOperationsErrorButNotItsResult) {
    FacadeTestClient client;
    client.pretendConnected();
    ASSERT_EQ(client.Purchase(100, 0, 0), 0);
    client.setResult({{3, le(100)}});
    client.resetTask(15);
    unsigned char kind = 0;
    client.get_LastErrorCode(kind);
    EXPECT_EQ(kind, 4);
    unsigned amount = 0;
    EXPECT_EQ(client.get_Amount(amount), 0);
    client.get_LastErrorCode(kind);
    EXPECT_EQ(kind, 0);
    unsigned char result = 0;
    client.get_LastResult(result);
    EXPECT_EQ(result, 1);
}

} // namespace
