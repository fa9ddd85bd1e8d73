// The exported C functions: thin adapters over the one library instance.
// Each reads glVELALib afresh (-1 without an instance), forwards the call
// unchanged and folds the facade's code into the C result. No exception
// leaves this file: every adapter turns one into -1 (code 1).
#include "velaecr.h"
#include "velaecr_client.h"

#include "client/TextConversion.h"
#include "engine/ECRCodes.h"

#include <cstring>
#include <vector>

CVELAClient* glVELALib = nullptr;
void* creatVELAInstance = nullptr;
void* destroyVELAInstance = nullptr;

namespace {

const int kNoInstance = -1;
const int kFailed = -ECRC_ERROR;

// Capacities of the text values and how much of the caller's buffer is
// cleared before the value is asked for.
const int kShortText = 128;
const int kReceiptText = 4096;
const int kLongText = 999;
const int kTerminalInfoText = 1200;
const int kExtraCardText = 300;
const int kDataFileSize = 204800;
const int kPanCleared = 20;
const int kExpDateCleared = 5;

typedef int (CVELAClient::*ByteAccessor)(unsigned char&);
typedef int (CVELAClient::*NumberAccessor)(unsigned int&);
typedef int (CVELAClient::*TextAccessor)(char*, int);

// Runs fn on the instance: -1 without one, and -1 (code 1) for any
// exception, which must not reach a C caller.
template <typename Fn> int withInstance(Fn fn) {
    CVELAClient* client = glVELALib;
    if (client == nullptr)
        return kNoInstance;
    try {
        return fn(*client);
    } catch (...) {
        return kFailed;
    }
}

// Command form: 0, or minus the facade's code.
template <typename Call> int commandResult(Call call) {
    return withInstance([&](CVELAClient& client) { return -call(client); });
}

// Byte form: the value 0..255, or minus the facade's code.
int byteResult(ByteAccessor accessor) {
    return withInstance([accessor](CVELAClient& client) {
        unsigned char value = 0;
        int code = (client.*accessor)(value);
        return code != 0 ? -code : static_cast<int>(value);
    });
}

// Number form: the unsigned value passed back as int (2^31 and above come
// back negative), or minus the facade's code.
int numberResult(NumberAccessor accessor) {
    return withInstance([accessor](CVELAClient& client) {
        unsigned int value = 0;
        int code = (client.*accessor)(value);
        return code != 0 ? -code : static_cast<int>(value);
    });
}

// Text form: clears the named part of the caller's buffer, asks for the value
// through a zeroed buffer one byte longer than the capacity (so a value that
// fills the capacity stays terminated), then clears 2 x L + 1 bytes of the
// caller's buffer and converts the value into it from CP1251 to UTF-8.
// Without a CP1251 converter on the system the buffer is left cleared
// (terminated and empty) and the result is -1. A null buffer gives -1.
int textResult(char* buffer, int capacity, int cleared, TextAccessor accessor) {
    return withInstance([&](CVELAClient& client) {
        if (buffer == nullptr)
            return kFailed;
        std::memset(buffer, 0, static_cast<std::size_t>(cleared));
        std::vector<char> value(static_cast<std::size_t>(capacity) + 1, '\0');
        int code = (client.*accessor)(value.data(), capacity);
        if (code != 0)
            return -code;
        std::size_t length = std::strlen(value.data());
        std::memset(buffer, 0, 2 * length + 1);
        return cp1251ToUtf8(value.data(), length, buffer, 2 * length) ? 0 : kFailed;
    });
}

// Binary form: the bytes in the caller's buffer and their count in *length;
// on failure minus the code with *length unchanged. A null pointer gives -1.
int binaryResult(char* buffer, int* length) {
    return withInstance([&](CVELAClient& client) {
        if (buffer == nullptr || length == nullptr)
            return kFailed;
        int count = 0;
        int code = client.get_DataFileBinary(buffer, count, kDataFileSize);
        if (code != 0)
            return -code;
        *length = count;
        return 0;
    });
}

} // namespace

// ---- Life cycle ----

int VELALib_InitializeVELA(void) {
    // An instance made earlier is closed and freed first, so that its worker
    // thread and transport do not live on unreachable.
    VELALib_UninitializeVELA();
    glVELALib = create();
    return glVELALib != nullptr ? 0 : 1;
}

int VELALib_UninitializeVELA(void) {
    CVELAClient* client = glVELALib;
    if (client != nullptr) {
        try {
            destroy(client);
        } catch (...) {
            // The destructor does not throw; nothing more can be done here.
        }
        glVELALib = nullptr;
    }
    return 0;
}

// ---- Connection, control and operations: the command form ----

int VELALib_CommOpen(const char* port, unsigned int baudRate) {
    return commandResult([&](CVELAClient& client) { return client.CommOpen(port, baudRate); });
}

int VELALib_CommOpenTCP(const char* address, const char* port) {
    return commandResult([&](CVELAClient& client) { return client.CommOpenTCP(address, port); });
}

int VELALib_CommOpenAuto(unsigned int baudRate) {
    return commandResult([&](CVELAClient& client) { return client.CommOpenAuto(baudRate); });
}

int VELALib_CommClose(void) {
    return commandResult([&](CVELAClient& client) { return client.CommClose(); });
}

int VELALib_UseMac(unsigned char flag, const char* text) {
    return commandResult([&](CVELAClient& client) { return client.UseMac(flag, text); });
}

int VELALib_Confirm(void) {
    return commandResult([&](CVELAClient& client) { return client.Confirm(); });
}

int VELALib_Cancel(void) {
    return commandResult([&](CVELAClient& client) { return client.Cancel(); });
}

int VELALib_Ping(void) {
    return commandResult([&](CVELAClient& client) { return client.Ping(); });
}

int VELALib_CheckTerminal(void) {
    return commandResult([&](CVELAClient& client) { return client.CheckTerminal(); });
}

int VELALib_SetErrorLang(unsigned char language) {
    return commandResult([&](CVELAClient& client) { return client.SetErrorLang(language); });
}

int VELALib_useLogging(unsigned char level, const char* path) {
    return commandResult([&](CVELAClient& client) { return client.useLogging(level, path); });
}

int VELALib_Purchase(unsigned int amount, unsigned int addAmount, unsigned char merchIdx) {
    return commandResult(
        [&](CVELAClient& client) { return client.Purchase(amount, addAmount, merchIdx); });
}

int VELALib_Refund(unsigned int amount, unsigned int addAmount, unsigned char merchIdx, char* rrn) {
    return commandResult(
        [&](CVELAClient& client) { return client.Refund(amount, addAmount, merchIdx, rrn); });
}

int VELALib_Void(unsigned int invoiceNum, unsigned char merchIdx) {
    return commandResult([&](CVELAClient& client) { return client.Void(invoiceNum, merchIdx); });
}

int VELALib_Settlement(unsigned char merchIdx) {
    return commandResult([&](CVELAClient& client) { return client.Settlement(merchIdx); });
}

int VELALib_PrintBatchTotals(unsigned char merchIdx) {
    return commandResult([&](CVELAClient& client) { return client.PrintBatchTotals(merchIdx); });
}

int VELALib_PurchaseService(unsigned char merchIdx, unsigned int amount, char* serviceParams) {
    return commandResult([&](CVELAClient& client) {
        return client.PurchaseService(merchIdx, amount, serviceParams);
    });
}

int VELALib_IdentifyCard(unsigned char merchIdx, char* currCode, unsigned char accNumber) {
    return commandResult(
        [&](CVELAClient& client) { return client.IdentifyCard(merchIdx, currCode, accNumber); });
}

int VELALib_GetTxnNum(void) {
    return commandResult([&](CVELAClient& client) { return client.GetTxnNum(); });
}

int VELALib_GetTxnDataByOrder(unsigned int orderNum) {
    return commandResult([&](CVELAClient& client) { return client.GetTxnDataByOrder(orderNum); });
}

int VELALib_GetTxnDataByInv(unsigned int invoiceNum, unsigned char merchIdx) {
    return commandResult(
        [&](CVELAClient& client) { return client.GetTxnDataByInv(invoiceNum, merchIdx); });
}

int VELALib_GetBatchTotals(unsigned char merchIdx) {
    return commandResult([&](CVELAClient& client) { return client.GetBatchTotals(merchIdx); });
}

int VELALib_CheckConnection(unsigned char merchIdx) {
    return commandResult([&](CVELAClient& client) { return client.CheckConnection(merchIdx); });
}

int VELALib_ReqCurrReceipt(void) {
    return commandResult([&](CVELAClient& client) { return client.ReqCurrReceipt(); });
}

int VELALib_PrintLastSettleCopy(unsigned char merchIdx) {
    return commandResult([&](CVELAClient& client) { return client.PrintLastSettleCopy(merchIdx); });
}

int VELALib_PrintBatchJournal(unsigned char merchIdx) {
    return commandResult([&](CVELAClient& client) { return client.PrintBatchJournal(merchIdx); });
}

int VELALib_ReqReceiptByInv(unsigned int invoiceNum, unsigned char merchIdx) {
    return commandResult(
        [&](CVELAClient& client) { return client.ReqReceiptByInv(invoiceNum, merchIdx); });
}

int VELALib_SetControlMode(bool mode) {
    return commandResult([&](CVELAClient& client) { return client.SetControlMode(mode); });
}

int VELALib_ReadKey(unsigned char timeOut) {
    return commandResult([&](CVELAClient& client) { return client.ReadKey(timeOut); });
}

int VELALib_DisplayText(unsigned char beep) {
    return commandResult([&](CVELAClient& client) { return client.DisplayText(beep); });
}

int VELALib_SetLine(unsigned char row, unsigned char col, const char* text, unsigned char invert) {
    return commandResult(
        [&](CVELAClient& client) { return client.SetLine(row, col, text, invert); });
}

int VELALib_ExchangeStatuses(unsigned char ecrStatus) {
    return commandResult([&](CVELAClient& client) { return client.ExchangeStatuses(ecrStatus); });
}

int VELALib_Completion(unsigned char merchIdx, unsigned int amount, const char* rrn,
                       unsigned int invoiceNum) {
    return commandResult(
        [&](CVELAClient& client) { return client.Completion(merchIdx, amount, rrn, invoiceNum); });
}

int VELALib_ReadCard(void) {
    return commandResult([&](CVELAClient& client) { return client.ReadCard(); });
}

int VELALib_Balance(unsigned char merchIdx, const char* currCode, unsigned char accNumber) {
    return commandResult(
        [&](CVELAClient& client) { return client.Balance(merchIdx, currCode, accNumber); });
}

int VELALib_Deposit(unsigned char merchIdx, unsigned int amount, const char* currCode,
                    unsigned char accNumber) {
    return commandResult(
        [&](CVELAClient& client) { return client.Deposit(merchIdx, amount, currCode, accNumber); });
}

int VELALib_POSGetInfo(void) {
    return commandResult([&](CVELAClient& client) { return client.POSGetInfo(); });
}

int VELALib_POSExTransaction(void) {
    return commandResult([&](CVELAClient& client) { return client.POSExTransaction(); });
}

int VELALib_SelectApp(const char* appName, unsigned int appIdx) {
    return commandResult([&](CVELAClient& client) { return client.SelectApp(appName, appIdx); });
}

int VELALib_CloseApp(void) {
    return commandResult([&](CVELAClient& client) { return client.CloseApp(); });
}

int VELALib_StartScenario(unsigned int scenarioID, const char* scenarioData) {
    return commandResult(
        [&](CVELAClient& client) { return client.StartScenario(scenarioID, scenarioData); });
}

int VELALib_SetExtraPrintData(const char* data) {
    return commandResult([&](CVELAClient& client) { return client.SetExtraPrintData(data); });
}

int VELALib_SetExtraXmlData(const char* data) {
    return commandResult([&](CVELAClient& client) { return client.SetExtraXmlData(data); });
}

int VELALib_SendFile(const char* path, unsigned char dataType, unsigned char command) {
    return commandResult(
        [&](CVELAClient& client) { return client.SendFile(path, dataType, command); });
}

int VELALib_SetScreen(unsigned int screenNumber) {
    return commandResult([&](CVELAClient& client) { return client.SetScreen(screenNumber); });
}

int VELALib_CorrectTransaction(unsigned int amount, unsigned int addAmount) {
    return commandResult(
        [&](CVELAClient& client) { return client.CorrectTransaction(amount, addAmount); });
}

int VELALib_CashAdvance(unsigned char merchIdx, unsigned int amount, const char* currCode,
                        unsigned char accNumber) {
    return commandResult([&](CVELAClient& client) {
        return client.CashAdvance(merchIdx, amount, currCode, accNumber);
    });
}

int VELALib_ReadBankCard(void) {
    return commandResult([&](CVELAClient& client) { return client.ReadBankCard(); });
}

int VELALib_ReqDataFile(void) {
    return commandResult([&](CVELAClient& client) { return client.ReqDataFile(); });
}

// ---- Byte results ----

int VELALib_LastResult(void) {
    return byteResult(&CVELAClient::get_LastResult);
}
int VELALib_LastErrorCode(void) {
    return byteResult(&CVELAClient::get_LastErrorCode);
}
int VELALib_TxnType(void) {
    return byteResult(&CVELAClient::get_TxnType);
}
int VELALib_LastStatMsgCode(void) {
    return byteResult(&CVELAClient::get_LastStatMsgCode);
}
int VELALib_SignVerif(void) {
    return byteResult(&CVELAClient::get_SignVerif);
}
int VELALib_EntryMode(void) {
    return byteResult(&CVELAClient::get_EntryMode);
}
int VELALib_TermStatus(void) {
    return byteResult(&CVELAClient::get_TermStatus);
}
int VELALib_Key(void) {
    return byteResult(&CVELAClient::get_Key);
}
int VELALib_TrnStatus(void) {
    return byteResult(&CVELAClient::get_TrnStatus);
}
int VELALib_SlipPrinted(void) {
    return byteResult(&CVELAClient::get_SlipPrinted);
}

// ---- Number results ----

int VELALib_ResponseCode(void) {
    return numberResult(&CVELAClient::get_ResponseCode);
}
int VELALib_InvoiceNum(void) {
    return numberResult(&CVELAClient::get_InvoiceNum);
}
int VELALib_TotalsDebitAmt(void) {
    return numberResult(&CVELAClient::get_TotalsDebitAmt);
}
int VELALib_TotalsDebitNum(void) {
    return numberResult(&CVELAClient::get_TotalsDebitNum);
}
int VELALib_TotalsCreditAmt(void) {
    return numberResult(&CVELAClient::get_TotalsCreditAmt);
}
int VELALib_TotalsCreditNum(void) {
    return numberResult(&CVELAClient::get_TotalsCreditNum);
}
int VELALib_TotalsCancelledAmt(void) {
    return numberResult(&CVELAClient::get_TotalsCancelledAmt);
}
int VELALib_TotalsCancelledNum(void) {
    return numberResult(&CVELAClient::get_TotalsCancelledNum);
}
int VELALib_TxnNum(void) {
    return numberResult(&CVELAClient::get_TxnNum);
}
int VELALib_Amount(void) {
    return numberResult(&CVELAClient::get_Amount);
}
int VELALib_AddAmount(void) {
    return numberResult(&CVELAClient::get_AddAmount);
}
int VELALib_TrnBatchNum(void) {
    return numberResult(&CVELAClient::get_TrnBatchNum);
}
int VELALib_DiscountAttribute(void) {
    return numberResult(&CVELAClient::get_DiscountAttribute);
}
int VELALib_FlagAcquirer(void) {
    return numberResult(&CVELAClient::get_FlagAcquirer);
}

// ---- Text results ----

int VELALib_DateTime(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_DateTime);
}

int VELALib_RRN(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_RRN);
}

int VELALib_TerminalID(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_TerminalID);
}

int VELALib_MerchantID(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_MerchantID);
}

int VELALib_AuthCode(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_AuthCode);
}

int VELALib_LastErrorDescription(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_LastErrorDescription);
}

int VELALib_LastStatMsgDescription(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_LastStatMsgDescription);
}

int VELALib_PAN(char* buffer) {
    return textResult(buffer, kShortText, kPanCleared, &CVELAClient::get_PAN);
}

int VELALib_ExpDate(char* buffer) {
    return textResult(buffer, kShortText, kExpDateCleared, &CVELAClient::get_ExpDate);
}

int VELALib_CardHolder(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_CardHolder);
}

int VELALib_IssueName(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_IssuerName);
}

int VELALib_emvAID(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_emvAID);
}

int VELALib_Track3(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_Track3);
}

int VELALib_Currency(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_Currency);
}

int VELALib_RNK(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_RNK);
}

int VELALib_CurrencyCode(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_CurrencyCode);
}

int VELALib_DiscountName(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_DiscountName);
}

int VELALib_ECRDataTM(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_ECRDataTM);
}

int VELALib_LibraryVersion(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_LibraryVersion);
}

int VELALib_PanHash(char* buffer) {
    return textResult(buffer, kShortText, 0, &CVELAClient::get_PanHash);
}

int VELALib_Receipt(char* buffer) {
    return textResult(buffer, kReceiptText, kReceiptText, &CVELAClient::get_Receipt);
}

int VELALib_AddData(char* buffer) {
    return textResult(buffer, kLongText, kLongText, &CVELAClient::get_AddData);
}

int VELALib_TerminalInfo(char* buffer) {
    return textResult(buffer, kTerminalInfoText, kTerminalInfoText, &CVELAClient::get_TeminalInfo);
}

int VELALib_ScenarioData(char* buffer) {
    return textResult(buffer, kLongText, kLongText, &CVELAClient::get_ScenarioData);
}

int VELALib_CryptedData(char* buffer) {
    return textResult(buffer, kLongText, kLongText, &CVELAClient::get_CryptedData);
}

int VELALib_ExtraCardData(char* buffer) {
    return textResult(buffer, kExtraCardText, kExtraCardText, &CVELAClient::get_ExtraCardData);
}

int VELALib_DataFile(char* buffer) {
    return textResult(buffer, kDataFileSize, kDataFileSize, &CVELAClient::get_DataFile);
}

// ---- Binary result ----

int VELALib_DataFileBinary(char* buffer, int* length) {
    return binaryResult(buffer, length);
}
