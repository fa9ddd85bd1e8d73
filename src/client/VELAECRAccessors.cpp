// Result-field accessors: each logs its call at the detailed level, reads one
// tag of the current result message and, unless said otherwise, records its
// code through ret (a field read successfully clears the error kind).
#include "client/VELAECRClient.h"

#include "diagnostics/VELALogger.h"
#include "protocol/TagCatalogue.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int readText(CVELAECRClient& client, const char* logLine, char* buffer, int capacity, int tag) {
    VELALogger::WriteDetailed(logLine);
    return client.ret(client.getStrValue(buffer, capacity, tag));
}

int readNumber(CVELAECRClient& client, const char* logLine, unsigned& value, int tag) {
    VELALogger::WriteDetailed(logLine);
    return client.ret(client.getNumValue(value, tag));
}

int readByte(CVELAECRClient& client, const char* logLine, unsigned char& value, int tag) {
    VELALogger::WriteDetailed(logLine);
    return client.ret(client.getByteValue(value, tag));
}

// Reads the number tags in order and prints each with two digits at least
// ("%02u"): 0 with the text in buffer, or the first lookup's code (8 for a
// missing tag), or 10 when the text does not fit capacity. Like every text
// accessor, capacity bytes are zeroed and a text of exactly capacity bytes
// has no terminator; on failure buffer is untouched.
template <std::size_t N>
int printNumbers(CVELAECRClient& client, const int (&tags)[N], char* buffer, int capacity) {
    std::string text;
    for (int tag : tags) {
        unsigned value = 0;
        int code = client.getNumValue(value, tag);
        if (code != ECRC_OK)
            return code;
        char digits[16];
        std::snprintf(digits, sizeof digits, "%02u", value);
        text += digits;
    }
    if (capacity < 0 || text.size() > static_cast<std::size_t>(capacity))
        return ECRC_SMALLBUFFER;
    if (buffer == nullptr)
        return ECRC_ERROR;
    std::memset(buffer, 0, static_cast<std::size_t>(capacity));
    std::memcpy(buffer, text.data(), text.size());
    return ECRC_OK;
}

} // namespace

// ---- Accessors with their own rules ----

// The terminal's response code; for a confirmation answer the code the
// confirmation ended with. Not recorded through ret.
int CVELAECRClient::get_ResponseCode(unsigned int& value) {
    VELALogger::WriteDetailed("call get_ResponseCode()");
    unsigned type = 0;
    if (getNumValue(type, ETag_MsgType) == ECRC_OK && type == EMsgType_ConfirmResponse) {
        value = m_lastCode;
        return ECRC_OK;
    }
    return getNumValue(value, ETag_ResponseCode);
}

// Year, month, day, hour, minute, second: twelve digits.
int CVELAECRClient::get_DateTime(char* buffer, int size) {
    VELALogger::WriteDetailed("call get_DateTime()");
    static const int kTags[] = {ETag_DateTime3, ETag_DateTime2, ETag_DateTime1,
                                ETag_DateTime4, ETag_DateTime5, ETag_DateTime6};
    return ret(printNumbers(*this, kTags, buffer, size));
}

int CVELAECRClient::get_ExpDate(char* buffer, int size) {
    VELALogger::WriteDetailed("call get_ExpDate() ");
    static const int kTags[] = {ETag_ExpDate1, ETag_ExpDate2};
    return ret(printNumbers(*this, kTags, buffer, size));
}

// The card number as the C interface reads it: the code is not recorded.
int CVELAECRClient::get_PAN(char* buffer, int size) {
    VELALogger::WriteDetailed("call get_PAN() ");
    return getStrValue(buffer, size, ETag_PAN);
}

int CVELAECRClient::get_CardNumber(char* buffer, int size) {
    return readText(*this, "call get_CardNumber()", buffer, size, ETag_PAN);
}

// Status messages are followed while an operation runs; reading them must
// not disturb the last-result state, so their codes are not recorded.
int CVELAECRClient::get_LastStatMsgCode(unsigned char& value) {
    VELALogger::WriteDetailed("call get_LastStatMsgCode() ");
    return getByteValue(value, ETag_StatMsgCode);
}

int CVELAECRClient::get_LastStatMsgDescription(char* buffer, int size) {
    VELALogger::WriteDetailed("call get_LastStatMsgDescription() ");
    return getStrValue(buffer, size, ETag_StatMsgDescription);
}

// Binary: the bytes as they came, and their count.
int CVELAECRClient::get_DataFileBinary(char* buffer, int& length, int size) {
    VELALogger::WriteDetailed("call get_DataFileBinary() ");
    return ret(getBuffValue(buffer, length, size, ETag_DataFile));
}

// ---- Texts ----

int CVELAECRClient::get_RRN(char* buffer, int size) {
    return readText(*this, "call get_RRN()", buffer, size, ETag_RRN);
}
int CVELAECRClient::get_TerminalID(char* buffer, int size) {
    return readText(*this, "call get_TerminalID()", buffer, size, ETag_TerminalID);
}
int CVELAECRClient::get_MerchantID(char* buffer, int size) {
    return readText(*this, "call get_MerchantID()", buffer, size, ETag_MerchantID);
}
int CVELAECRClient::get_AuthCode(char* buffer, int size) {
    return readText(*this, "call get_AuthCode()", buffer, size, ETag_AuthCode);
}
int CVELAECRClient::get_CardHolder(char* buffer, int size) {
    return readText(*this, "call get_CardHolder() ", buffer, size, ETag_CardHolder);
}
int CVELAECRClient::get_IssuerName(char* buffer, int size) {
    return readText(*this, "call get_IssuerName() ", buffer, size, ETag_IssuerName);
}
int CVELAECRClient::get_Receipt(char* buffer, int size) {
    return readText(*this, "call get_Receipt() ", buffer, size, ETag_Receipt);
}
int CVELAECRClient::get_emvAID(char* buffer, int size) {
    return readText(*this, "call get_emvAID() ", buffer, size, ETag_EmvAID);
}
int CVELAECRClient::get_Track3(char* buffer, int size) {
    return readText(*this, "call get_Track3() ", buffer, size, ETag_Track3);
}
int CVELAECRClient::get_Currency(char* buffer, int size) {
    return readText(*this, "call get_Currency() ", buffer, size, ETag_Currency);
}
int CVELAECRClient::get_RNK(char* buffer, int size) {
    return readText(*this, "call get_RNK() ", buffer, size, ETag_RNK);
}
int CVELAECRClient::get_CurrencyCode(char* buffer, int size) {
    return readText(*this, "call get_CurrencyCode() ", buffer, size, ETag_CurrCode);
}
int CVELAECRClient::get_AddData(char* buffer, int size) {
    return readText(*this, "call get_AddData() ", buffer, size, ETag_AddData);
}
int CVELAECRClient::get_TeminalInfo(char* buffer, int size) {
    return readText(*this, "call get_TeminalInfo() ", buffer, size, ETag_TerminalInfo);
}
int CVELAECRClient::get_TerminalInfo(char* buffer, int size) {
    return readText(*this, "call get_TerminalInfo() ", buffer, size, ETag_TerminalInfo);
}
int CVELAECRClient::get_DiscountName(char* buffer, int size) {
    return readText(*this, "call get_DiscountName() ", buffer, size, ETag_DiscountName);
}
int CVELAECRClient::get_ECRDataTM(char* buffer, int size) {
    return readText(*this, "call get_ECRDataTM() ", buffer, size, ETag_ECRDataTM);
}
int CVELAECRClient::get_ScenarioData(char* buffer, int size) {
    return readText(*this, "call get_ScenarioData() ", buffer, size, ETag_ScenarioData);
}
int CVELAECRClient::get_CryptedData(char* buffer, int size) {
    return readText(*this, "call get_CryptedData() ", buffer, size, ETag_CryptedData);
}
int CVELAECRClient::get_ExtraCardData(char* buffer, int size) {
    return readText(*this, "call get_ExtraCardData() ", buffer, size, ETag_ExtraCardData);
}
int CVELAECRClient::get_DataFile(char* buffer, int size) {
    return readText(*this, "call get_DataFile() ", buffer, size, ETag_DataFile);
}
int CVELAECRClient::get_PanHash(char* buffer, int size) {
    return readText(*this, "call get_PanHash() ", buffer, size, ETag_PanHash);
}

// ---- Numbers ----

int CVELAECRClient::get_InvoiceNum(unsigned int& value) {
    return readNumber(*this, "call get_InvoiceNum() ", value, ETag_InvoiceNum);
}
int CVELAECRClient::get_CompletionInvoiceNum(unsigned int& value) {
    return readNumber(*this, "call get_CompletionInvoiceNum() ", value, ETag_CompletionInvoiceNum);
}
int CVELAECRClient::get_TotalsDebitAmt(unsigned int& value) {
    return readNumber(*this, "call get_TotalsDebitAmt() ", value, ETag_TotalsDebitAmt);
}
int CVELAECRClient::get_TotalsDebitNum(unsigned int& value) {
    return readNumber(*this, "call get_TotalsDebitNum() ", value, ETag_TotalsDebitNum);
}
int CVELAECRClient::get_TotalsCreditAmt(unsigned int& value) {
    return readNumber(*this, "call get_TotalsCreditAmt() ", value, ETag_TotalsCreditAmt);
}
int CVELAECRClient::get_TotalsCreditNum(unsigned int& value) {
    return readNumber(*this, "call get_TotalsCreditNum() ", value, ETag_TotalsCreditNum);
}
int CVELAECRClient::get_TotalsCancelledAmt(unsigned int& value) {
    return readNumber(*this, "call get_TotalsCancelledAmt() ", value, ETag_TotalsCancelledAmt);
}
int CVELAECRClient::get_TotalsCancelledNum(unsigned int& value) {
    return readNumber(*this, "call get_TotalsCancelledNum() ", value, ETag_TotalsCancelledNum);
}
int CVELAECRClient::get_TxnNum(unsigned int& value) {
    return readNumber(*this, "call get_TxnNum() ", value, ETag_TxnNum);
}
int CVELAECRClient::get_Amount(unsigned int& value) {
    return readNumber(*this, "call get_Amount() ", value, ETag_Amount);
}
int CVELAECRClient::get_AddAmount(unsigned int& value) {
    return readNumber(*this, "call get_AddAmount() ", value, ETag_AddAmount);
}
int CVELAECRClient::get_TrnBatchNum(unsigned int& value) {
    return readNumber(*this, "call get_TrnBatchNum() ", value, ETag_TrnBatchNum);
}
int CVELAECRClient::get_DiscountAttribute(unsigned int& value) {
    return readNumber(*this, "call get_DiscountAttribute() ", value, ETag_DiscountAttribute);
}
int CVELAECRClient::get_FlagAcquirer(unsigned int& value) {
    return readNumber(*this, "call get_FlagAcquirer() ", value, ETag_FlagAcquirer);
}

// ---- Bytes ----

int CVELAECRClient::get_TxnType(unsigned char& value) {
    return readByte(*this, "call get_TxnType()", value, ETag_ResultTxnType);
}
int CVELAECRClient::get_SignVerif(unsigned char& value) {
    return readByte(*this, "call get_SignVerif() ", value, ETag_SignVerif);
}
int CVELAECRClient::get_EntryMode(unsigned char& value) {
    return readByte(*this, "call get_EntryMode() ", value, ETag_EntryMode);
}
int CVELAECRClient::get_TermStatus(unsigned char& value) {
    return readByte(*this, "call get_TermStatus() ", value, ETag_Status);
}
int CVELAECRClient::get_Key(unsigned char& value) {
    return readByte(*this, "call get_Key() ", value, ETag_Key);
}
int CVELAECRClient::get_TrnStatus(unsigned char& value) {
    return readByte(*this, "call get_TrnStatus() ", value, ETag_TrnStatus);
}
int CVELAECRClient::get_SlipPrinted(unsigned char& value) {
    return readByte(*this, "call get_SlipPrinted() ", value, ETag_SlipPrinted);
}
