#pragma once

#include "velaecr_client.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

// A client that records the calls and arguments it receives and answers
// every call with the code rc and the configured values.
class FakeClient : public CVELAClient {
public:
    int rc = 0;
    unsigned char byteValue = 0;
    unsigned int numberValue = 0;
    std::string textValue;   // CP1251 bytes handed out by every text accessor
    std::string binaryValue; // bytes handed out by get_DataFileBinary
    static constexpr int kActualSize = INT_MIN;
    int binaryLength = kActualSize; // count reported by get_DataFileBinary

    std::vector<std::string> called;
    std::vector<std::string> texts;     // every text argument, in order
    std::vector<unsigned long> numbers; // every other argument, in order
    std::vector<int> capacities;        // the size given to each text accessor

    // clang-format off
    int CommOpen(const char* port, unsigned int baudRate) override { called.push_back("CommOpen"); texts.push_back(port); numbers.push_back(baudRate); return rc; }
    int CommOpenTCP(const char* address, const char* port) override { called.push_back("CommOpenTCP"); texts.push_back(address); texts.push_back(port); return rc; }
    int CommOpenAuto(unsigned int baudRate) override { called.push_back("CommOpenAuto"); numbers.push_back(baudRate); return rc; }
    int CommClose() override { called.push_back("CommClose"); return rc; }
    int UseMac(unsigned char flag, const char* text) override { called.push_back("UseMac"); texts.push_back(text); numbers.push_back(flag); return rc; }
    int Confirm() override { called.push_back("Confirm"); return rc; }
    int Cancel() override { called.push_back("Cancel"); return rc; }
    int Purchase(unsigned int amount, unsigned int addAmount, unsigned char merchIdx) override { called.push_back("Purchase"); numbers.push_back(amount); numbers.push_back(addAmount); numbers.push_back(merchIdx); return rc; }
    int Refund(unsigned int amount, unsigned int addAmount, unsigned char merchIdx, char* rrn) override { called.push_back("Refund"); texts.push_back(rrn); numbers.push_back(amount); numbers.push_back(addAmount); numbers.push_back(merchIdx); return rc; }
    int Void(unsigned int invoiceNum, unsigned char merchIdx) override { called.push_back("Void"); numbers.push_back(invoiceNum); numbers.push_back(merchIdx); return rc; }
    int Settlement(unsigned char merchIdx) override { called.push_back("Settlement"); numbers.push_back(merchIdx); return rc; }
    int PrintBatchTotals(unsigned char merchIdx) override { called.push_back("PrintBatchTotals"); numbers.push_back(merchIdx); return rc; }
    int PurchaseService(unsigned char merchIdx, unsigned int amount, char* serviceParams) override { called.push_back("PurchaseService"); texts.push_back(serviceParams); numbers.push_back(merchIdx); numbers.push_back(amount); return rc; }
    int SetErrorLang(unsigned char language) override { called.push_back("SetErrorLang"); numbers.push_back(language); return rc; }
    int IdentifyCard(unsigned char merchIdx, char* currCode, unsigned char accNumber) override { called.push_back("IdentifyCard"); texts.push_back(currCode); numbers.push_back(merchIdx); numbers.push_back(accNumber); return rc; }
    int get_LastResult(unsigned char& value) override { called.push_back("get_LastResult"); value = byteValue; return rc; }
    int get_LastErrorCode(unsigned char& value) override { called.push_back("get_LastErrorCode"); value = byteValue; return rc; }
    int get_ResponseCode(unsigned int& value) override { called.push_back("get_ResponseCode"); value = numberValue; return rc; }
    int get_DateTime(char* buffer, int size) override { called.push_back("get_DateTime"); texts.push_back(buffer); return text(buffer, size); }
    int get_RRN(char* buffer, int size) override { called.push_back("get_RRN"); texts.push_back(buffer); return text(buffer, size); }
    int get_TxnType(unsigned char& value) override { called.push_back("get_TxnType"); value = byteValue; return rc; }
    int get_TerminalID(char* buffer, int size) override { called.push_back("get_TerminalID"); texts.push_back(buffer); return text(buffer, size); }
    int get_MerchantID(char* buffer, int size) override { called.push_back("get_MerchantID"); texts.push_back(buffer); return text(buffer, size); }
    int get_AuthCode(char* buffer, int size) override { called.push_back("get_AuthCode"); texts.push_back(buffer); return text(buffer, size); }
    int get_LastErrorDescription(char* buffer, int size) override { called.push_back("get_LastErrorDescription"); texts.push_back(buffer); return text(buffer, size); }
    int get_LastStatMsgCode(unsigned char& value) override { called.push_back("get_LastStatMsgCode"); value = byteValue; return rc; }
    int get_LastStatMsgDescription(char* buffer, int size) override { called.push_back("get_LastStatMsgDescription"); texts.push_back(buffer); return text(buffer, size); }
    int get_PAN(char* buffer, int size) override { called.push_back("get_PAN"); texts.push_back(buffer); return text(buffer, size); }
    int get_ExpDate(char* buffer, int size) override { called.push_back("get_ExpDate"); texts.push_back(buffer); return text(buffer, size); }
    int get_CardHolder(char* buffer, int size) override { called.push_back("get_CardHolder"); texts.push_back(buffer); return text(buffer, size); }
    int get_IssuerName(char* buffer, int size) override { called.push_back("get_IssuerName"); texts.push_back(buffer); return text(buffer, size); }
    int get_InvoiceNum(unsigned int& value) override { called.push_back("get_InvoiceNum"); value = numberValue; return rc; }
    int get_CompletionInvoiceNum(unsigned int& value) override { called.push_back("get_CompletionInvoiceNum"); value = numberValue; return rc; }
    int get_TotalsDebitAmt(unsigned int& value) override { called.push_back("get_TotalsDebitAmt"); value = numberValue; return rc; }
    int get_TotalsDebitNum(unsigned int& value) override { called.push_back("get_TotalsDebitNum"); value = numberValue; return rc; }
    int get_TotalsCreditAmt(unsigned int& value) override { called.push_back("get_TotalsCreditAmt"); value = numberValue; return rc; }
    int get_TotalsCreditNum(unsigned int& value) override { called.push_back("get_TotalsCreditNum"); value = numberValue; return rc; }
    int get_TotalsCancelledAmt(unsigned int& value) override { called.push_back("get_TotalsCancelledAmt"); value = numberValue; return rc; }
    int get_TotalsCancelledNum(unsigned int& value) override { called.push_back("get_TotalsCancelledNum"); value = numberValue; return rc; }
    int get_SignVerif(unsigned char& value) override { called.push_back("get_SignVerif"); value = byteValue; return rc; }
    int get_Receipt(char* buffer, int size) override { called.push_back("get_Receipt"); texts.push_back(buffer); return text(buffer, size); }
    int get_emvAID(char* buffer, int size) override { called.push_back("get_emvAID"); texts.push_back(buffer); return text(buffer, size); }
    int get_EntryMode(unsigned char& value) override { called.push_back("get_EntryMode"); value = byteValue; return rc; }
    int get_TxnNum(unsigned int& value) override { called.push_back("get_TxnNum"); value = numberValue; return rc; }
    int get_Amount(unsigned int& value) override { called.push_back("get_Amount"); value = numberValue; return rc; }
    int get_AddAmount(unsigned int& value) override { called.push_back("get_AddAmount"); value = numberValue; return rc; }
    int get_TermStatus(unsigned char& value) override { called.push_back("get_TermStatus"); value = byteValue; return rc; }
    int get_Key(unsigned char& value) override { called.push_back("get_Key"); value = byteValue; return rc; }
    int get_Track3(char* buffer, int size) override { called.push_back("get_Track3"); texts.push_back(buffer); return text(buffer, size); }
    int get_TrnStatus(unsigned char& value) override { called.push_back("get_TrnStatus"); value = byteValue; return rc; }
    int get_Currency(char* buffer, int size) override { called.push_back("get_Currency"); texts.push_back(buffer); return text(buffer, size); }
    int get_TrnBatchNum(unsigned int& value) override { called.push_back("get_TrnBatchNum"); value = numberValue; return rc; }
    int get_RNK(char* buffer, int size) override { called.push_back("get_RNK"); texts.push_back(buffer); return text(buffer, size); }
    int get_CurrencyCode(char* buffer, int size) override { called.push_back("get_CurrencyCode"); texts.push_back(buffer); return text(buffer, size); }
    int get_AddData(char* buffer, int size) override { called.push_back("get_AddData"); texts.push_back(buffer); return text(buffer, size); }
    int get_TeminalInfo(char* buffer, int size) override { called.push_back("get_TeminalInfo"); texts.push_back(buffer); return text(buffer, size); }
    int get_DiscountName(char* buffer, int size) override { called.push_back("get_DiscountName"); texts.push_back(buffer); return text(buffer, size); }
    int get_DiscountAttribute(unsigned int& value) override { called.push_back("get_DiscountAttribute"); value = numberValue; return rc; }
    int get_ECRDataTM(char* buffer, int size) override { called.push_back("get_ECRDataTM"); texts.push_back(buffer); return text(buffer, size); }
    int get_LibraryVersion(char* buffer, int size) override { called.push_back("get_LibraryVersion"); texts.push_back(buffer); return text(buffer, size); }
    int get_ScenarioData(char* buffer, int size) override { called.push_back("get_ScenarioData"); texts.push_back(buffer); return text(buffer, size); }
    int GetTxnNum() override { called.push_back("GetTxnNum"); return rc; }
    int GetTxnDataByOrder(unsigned int orderNum) override { called.push_back("GetTxnDataByOrder"); numbers.push_back(orderNum); return rc; }
    int GetTxnDataByInv(unsigned int invoiceNum, unsigned char merchIdx) override { called.push_back("GetTxnDataByInv"); numbers.push_back(invoiceNum); numbers.push_back(merchIdx); return rc; }
    int GetBatchTotals(unsigned char merchIdx) override { called.push_back("GetBatchTotals"); numbers.push_back(merchIdx); return rc; }
    int CheckConnection(unsigned char merchIdx) override { called.push_back("CheckConnection"); numbers.push_back(merchIdx); return rc; }
    int ReqCurrReceipt() override { called.push_back("ReqCurrReceipt"); return rc; }
    int PrintLastSettleCopy(unsigned char merchIdx) override { called.push_back("PrintLastSettleCopy"); numbers.push_back(merchIdx); return rc; }
    int PrintBatchJournal(unsigned char merchIdx) override { called.push_back("PrintBatchJournal"); numbers.push_back(merchIdx); return rc; }
    int ReqReceiptByInv(unsigned int invoiceNum, unsigned char merchIdx) override { called.push_back("ReqReceiptByInv"); numbers.push_back(invoiceNum); numbers.push_back(merchIdx); return rc; }
    int SetControlMode(bool mode) override { called.push_back("SetControlMode"); numbers.push_back(mode); return rc; }
    int ReadKey(unsigned char timeOut) override { called.push_back("ReadKey"); numbers.push_back(timeOut); return rc; }
    int DisplayText(unsigned char beep) override { called.push_back("DisplayText"); numbers.push_back(beep); return rc; }
    int SetLine(unsigned char row, unsigned char col, const char* text, unsigned char invert) override { called.push_back("SetLine"); texts.push_back(text); numbers.push_back(row); numbers.push_back(col); numbers.push_back(invert); return rc; }
    int ExchangeStatuses(unsigned char ecrStatus) override { called.push_back("ExchangeStatuses"); numbers.push_back(ecrStatus); return rc; }
    int Completion(unsigned char merchIdx, unsigned int amount, const char* rrn, unsigned int invoiceNum) override { called.push_back("Completion"); texts.push_back(rrn); numbers.push_back(merchIdx); numbers.push_back(amount); numbers.push_back(invoiceNum); return rc; }
    int ReadCard() override { called.push_back("ReadCard"); return rc; }
    int Balance(unsigned char merchIdx, const char* currCode, unsigned char accNumber) override { called.push_back("Balance"); texts.push_back(currCode); numbers.push_back(merchIdx); numbers.push_back(accNumber); return rc; }
    int Deposit(unsigned char merchIdx, unsigned int amount, const char* currCode, unsigned char accNumber) override { called.push_back("Deposit"); texts.push_back(currCode); numbers.push_back(merchIdx); numbers.push_back(amount); numbers.push_back(accNumber); return rc; }
    int POSGetInfo() override { called.push_back("POSGetInfo"); return rc; }
    int POSExTransaction() override { called.push_back("POSExTransaction"); return rc; }
    int SelectApp(const char* appName, unsigned int appIdx) override { called.push_back("SelectApp"); texts.push_back(appName); numbers.push_back(appIdx); return rc; }
    int CloseApp() override { called.push_back("CloseApp"); return rc; }
    int StartScenario(unsigned int scenarioID, const char* scenarioData) override { called.push_back("StartScenario"); texts.push_back(scenarioData); numbers.push_back(scenarioID); return rc; }
    int SetExtraPrintData(const char* data) override { called.push_back("SetExtraPrintData"); texts.push_back(data); return rc; }
    int SetExtraXmlData(const char* data) override { called.push_back("SetExtraXmlData"); texts.push_back(data); return rc; }
    int useLogging(unsigned char level, const char* path) override { called.push_back("useLogging"); texts.push_back(path); numbers.push_back(level); return rc; }
    int SendFile(const char* path, unsigned char dataType, unsigned char command) override { called.push_back("SendFile"); texts.push_back(path); numbers.push_back(dataType); numbers.push_back(command); return rc; }
    int SetScreen(unsigned int screenNumber) override { called.push_back("SetScreen"); numbers.push_back(screenNumber); return rc; }
    int CorrectTransaction(unsigned int amount, unsigned int addAmount) override { called.push_back("CorrectTransaction"); numbers.push_back(amount); numbers.push_back(addAmount); return rc; }
    int CashAdvance(unsigned char merchIdx, unsigned int amount, const char* currCode, unsigned char accNumber) override { called.push_back("CashAdvance"); texts.push_back(currCode); numbers.push_back(merchIdx); numbers.push_back(amount); numbers.push_back(accNumber); return rc; }
    int ReadBankCard() override { called.push_back("ReadBankCard"); return rc; }
    int get_FlagAcquirer(unsigned int& value) override { called.push_back("get_FlagAcquirer"); value = numberValue; return rc; }
    int get_CryptedData(char* buffer, int size) override { called.push_back("get_CryptedData"); texts.push_back(buffer); return text(buffer, size); }
    int get_ExtraCardData(char* buffer, int size) override { called.push_back("get_ExtraCardData"); texts.push_back(buffer); return text(buffer, size); }
    int Ping() override { called.push_back("Ping"); return rc; }
    int CheckTerminal() override { called.push_back("CheckTerminal"); return rc; }
    int ReqDataFile() override { called.push_back("ReqDataFile"); return rc; }
    int get_DataFile(char* buffer, int size) override { called.push_back("get_DataFile"); texts.push_back(buffer); return text(buffer, size); }
    int get_DataFileBinary(char* buffer, int& length, int size) override { called.push_back("get_DataFileBinary"); texts.push_back(buffer); return binary(buffer, length, size); }
    int get_PanHash(char* buffer, int size) override { called.push_back("get_PanHash"); texts.push_back(buffer); return text(buffer, size); }
    int get_SlipPrinted(unsigned char& value) override { called.push_back("get_SlipPrinted"); value = byteValue; return rc; }
    int get_TerminalInfo(char* buffer, int size) override { called.push_back("get_TerminalInfo"); texts.push_back(buffer); return text(buffer, size); }
    // clang-format on

private:
    int text(char* buffer, int size) {
        capacities.push_back(size);
        if (rc == 0)
            std::memcpy(buffer, textValue.data(), std::min<std::size_t>(textValue.size(), size));
        return rc;
    }
    int binary(char* buffer, int& length, int size) {
        capacities.push_back(size);
        if (rc == 0) {
            std::memcpy(buffer, binaryValue.data(),
                        std::min<std::size_t>(binaryValue.size(), size));
            length =
                binaryLength == kActualSize ? static_cast<int>(binaryValue.size()) : binaryLength;
        }
        return rc;
    }
};
