#pragma once

// A client that records the calls the exported C functions make on it and
// answers them as scripted: the adapters are checked without a terminal.
#include "velaecr_client.h"

#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>

class ScriptedClient : public CVELAClient {
public:
    std::string lastCall; // "Name(arg,arg)"; numbers in decimal, texts as they are
    int code = 0;         // returned by every call
    bool throws = false;  // every call throws instead
    unsigned char byteValue = 0;
    unsigned int numberValue = 0;
    std::string value; // the text or binary value; over capacity gives 10

    int CommOpen(const char* port, unsigned int baudRate) override {
        return call("CommOpen", port, baudRate);
    }
    int CommOpenTCP(const char* address, const char* port) override {
        return call("CommOpenTCP", address, port);
    }
    int CommOpenAuto(unsigned int baudRate) override { return call("CommOpenAuto", baudRate); }
    int CommClose() override { return call("CommClose"); }
    int UseMac(unsigned char flag, const char* text) override { return call("UseMac", flag, text); }
    int Confirm() override { return call("Confirm"); }
    int Cancel() override { return call("Cancel"); }
    int Purchase(unsigned int amount, unsigned int addAmount, unsigned char merchIdx) override {
        return call("Purchase", amount, addAmount, merchIdx);
    }
    int Refund(unsigned int amount, unsigned int addAmount, unsigned char merchIdx,
               char* rrn) override {
        return call("Refund", amount, addAmount, merchIdx, rrn);
    }
    int Void(unsigned int invoiceNum, unsigned char merchIdx) override {
        return call("Void", invoiceNum, merchIdx);
    }
    int Settlement(unsigned char merchIdx) override { return call("Settlement", merchIdx); }
    int PrintBatchTotals(unsigned char merchIdx) override {
        return call("PrintBatchTotals", merchIdx);
    }
    int PurchaseService(unsigned char merchIdx, unsigned int amount, char* serviceParams) override {
        return call("PurchaseService", merchIdx, amount, serviceParams);
    }
    int SetErrorLang(unsigned char language) override { return call("SetErrorLang", language); }
    int IdentifyCard(unsigned char merchIdx, char* currCode, unsigned char accNumber) override {
        return call("IdentifyCard", merchIdx, currCode, accNumber);
    }
    int get_LastResult(unsigned char& value) override { return byteCall("get_LastResult", value); }
    int get_LastErrorCode(unsigned char& value) override {
        return byteCall("get_LastErrorCode", value);
    }
    int get_ResponseCode(unsigned int& value) override {
        return numberCall("get_ResponseCode", value);
    }
    int get_DateTime(char* buffer, int size) override {
        return textCall("get_DateTime", buffer, size);
    }
    int get_RRN(char* buffer, int size) override { return textCall("get_RRN", buffer, size); }
    int get_TxnType(unsigned char& value) override { return byteCall("get_TxnType", value); }
    int get_TerminalID(char* buffer, int size) override {
        return textCall("get_TerminalID", buffer, size);
    }
    int get_MerchantID(char* buffer, int size) override {
        return textCall("get_MerchantID", buffer, size);
    }
    int get_AuthCode(char* buffer, int size) override {
        return textCall("get_AuthCode", buffer, size);
    }
    int get_LastErrorDescription(char* buffer, int size) override {
        return textCall("get_LastErrorDescription", buffer, size);
    }
    int get_LastStatMsgCode(unsigned char& value) override {
        return byteCall("get_LastStatMsgCode", value);
    }
    int get_LastStatMsgDescription(char* buffer, int size) override {
        return textCall("get_LastStatMsgDescription", buffer, size);
    }
    int get_PAN(char* buffer, int size) override { return textCall("get_PAN", buffer, size); }
    int get_ExpDate(char* buffer, int size) override {
        return textCall("get_ExpDate", buffer, size);
    }
    int get_CardHolder(char* buffer, int size) override {
        return textCall("get_CardHolder", buffer, size);
    }
    int get_IssuerName(char* buffer, int size) override {
        return textCall("get_IssuerName", buffer, size);
    }
    int get_InvoiceNum(unsigned int& value) override { return numberCall("get_InvoiceNum", value); }
    int get_CompletionInvoiceNum(unsigned int& value) override {
        return numberCall("get_CompletionInvoiceNum", value);
    }
    int get_TotalsDebitAmt(unsigned int& value) override {
        return numberCall("get_TotalsDebitAmt", value);
    }
    int get_TotalsDebitNum(unsigned int& value) override {
        return numberCall("get_TotalsDebitNum", value);
    }
    int get_TotalsCreditAmt(unsigned int& value) override {
        return numberCall("get_TotalsCreditAmt", value);
    }
    int get_TotalsCreditNum(unsigned int& value) override {
        return numberCall("get_TotalsCreditNum", value);
    }
    int get_TotalsCancelledAmt(unsigned int& value) override {
        return numberCall("get_TotalsCancelledAmt", value);
    }
    int get_TotalsCancelledNum(unsigned int& value) override {
        return numberCall("get_TotalsCancelledNum", value);
    }
    int get_SignVerif(unsigned char& value) override { return byteCall("get_SignVerif", value); }
    int get_Receipt(char* buffer, int size) override {
        return textCall("get_Receipt", buffer, size);
    }
    int get_emvAID(char* buffer, int size) override { return textCall("get_emvAID", buffer, size); }
    int get_EntryMode(unsigned char& value) override { return byteCall("get_EntryMode", value); }
    int get_TxnNum(unsigned int& value) override { return numberCall("get_TxnNum", value); }
    int get_Amount(unsigned int& value) override { return numberCall("get_Amount", value); }
    int get_AddAmount(unsigned int& value) override { return numberCall("get_AddAmount", value); }
    int get_TermStatus(unsigned char& value) override { return byteCall("get_TermStatus", value); }
    int get_Key(unsigned char& value) override { return byteCall("get_Key", value); }
    int get_Track3(char* buffer, int size) override { return textCall("get_Track3", buffer, size); }
    int get_TrnStatus(unsigned char& value) override { return byteCall("get_TrnStatus", value); }
    int get_Currency(char* buffer, int size) override {
        return textCall("get_Currency", buffer, size);
    }
    int get_TrnBatchNum(unsigned int& value) override {
        return numberCall("get_TrnBatchNum", value);
    }
    int get_RNK(char* buffer, int size) override { return textCall("get_RNK", buffer, size); }
    int get_CurrencyCode(char* buffer, int size) override {
        return textCall("get_CurrencyCode", buffer, size);
    }
    int get_AddData(char* buffer, int size) override {
        return textCall("get_AddData", buffer, size);
    }
    int get_TeminalInfo(char* buffer, int size) override {
        return textCall("get_TeminalInfo", buffer, size);
    }
    int get_DiscountName(char* buffer, int size) override {
        return textCall("get_DiscountName", buffer, size);
    }
    int get_DiscountAttribute(unsigned int& value) override {
        return numberCall("get_DiscountAttribute", value);
    }
    int get_ECRDataTM(char* buffer, int size) override {
        return textCall("get_ECRDataTM", buffer, size);
    }
    int get_LibraryVersion(char* buffer, int size) override {
        return textCall("get_LibraryVersion", buffer, size);
    }
    int get_ScenarioData(char* buffer, int size) override {
        return textCall("get_ScenarioData", buffer, size);
    }
    int GetTxnNum() override { return call("GetTxnNum"); }
    int GetTxnDataByOrder(unsigned int orderNum) override {
        return call("GetTxnDataByOrder", orderNum);
    }
    int GetTxnDataByInv(unsigned int invoiceNum, unsigned char merchIdx) override {
        return call("GetTxnDataByInv", invoiceNum, merchIdx);
    }
    int GetBatchTotals(unsigned char merchIdx) override { return call("GetBatchTotals", merchIdx); }
    int CheckConnection(unsigned char merchIdx) override {
        return call("CheckConnection", merchIdx);
    }
    int ReqCurrReceipt() override { return call("ReqCurrReceipt"); }
    int PrintLastSettleCopy(unsigned char merchIdx) override {
        return call("PrintLastSettleCopy", merchIdx);
    }
    int PrintBatchJournal(unsigned char merchIdx) override {
        return call("PrintBatchJournal", merchIdx);
    }
    int ReqReceiptByInv(unsigned int invoiceNum, unsigned char merchIdx) override {
        return call("ReqReceiptByInv", invoiceNum, merchIdx);
    }
    int SetControlMode(bool mode) override { return call("SetControlMode", mode); }
    int ReadKey(unsigned char timeOut) override { return call("ReadKey", timeOut); }
    int DisplayText(unsigned char beep) override { return call("DisplayText", beep); }
    int SetLine(unsigned char row, unsigned char col, const char* text,
                unsigned char invert) override {
        return call("SetLine", row, col, text, invert);
    }
    int ExchangeStatuses(unsigned char ecrStatus) override {
        return call("ExchangeStatuses", ecrStatus);
    }
    int Completion(unsigned char merchIdx, unsigned int amount, const char* rrn,
                   unsigned int invoiceNum) override {
        return call("Completion", merchIdx, amount, rrn, invoiceNum);
    }
    int ReadCard() override { return call("ReadCard"); }
    int Balance(unsigned char merchIdx, const char* currCode, unsigned char accNumber) override {
        return call("Balance", merchIdx, currCode, accNumber);
    }
    int Deposit(unsigned char merchIdx, unsigned int amount, const char* currCode,
                unsigned char accNumber) override {
        return call("Deposit", merchIdx, amount, currCode, accNumber);
    }
    int POSGetInfo() override { return call("POSGetInfo"); }
    int POSExTransaction() override { return call("POSExTransaction"); }
    int SelectApp(const char* appName, unsigned int appIdx) override {
        return call("SelectApp", appName, appIdx);
    }
    int CloseApp() override { return call("CloseApp"); }
    int StartScenario(unsigned int scenarioID, const char* scenarioData) override {
        return call("StartScenario", scenarioID, scenarioData);
    }
    int SetExtraPrintData(const char* data) override { return call("SetExtraPrintData", data); }
    int SetExtraXmlData(const char* data) override { return call("SetExtraXmlData", data); }
    int useLogging(unsigned char level, const char* path) override {
        return call("useLogging", level, path);
    }
    int SendFile(const char* path, unsigned char dataType, unsigned char command) override {
        return call("SendFile", path, dataType, command);
    }
    int SetScreen(unsigned int screenNumber) override { return call("SetScreen", screenNumber); }
    int CorrectTransaction(unsigned int amount, unsigned int addAmount) override {
        return call("CorrectTransaction", amount, addAmount);
    }
    int CashAdvance(unsigned char merchIdx, unsigned int amount, const char* currCode,
                    unsigned char accNumber) override {
        return call("CashAdvance", merchIdx, amount, currCode, accNumber);
    }
    int ReadBankCard() override { return call("ReadBankCard"); }
    int get_FlagAcquirer(unsigned int& value) override {
        return numberCall("get_FlagAcquirer", value);
    }
    int get_CryptedData(char* buffer, int size) override {
        return textCall("get_CryptedData", buffer, size);
    }
    int get_ExtraCardData(char* buffer, int size) override {
        return textCall("get_ExtraCardData", buffer, size);
    }
    int Ping() override { return call("Ping"); }
    int CheckTerminal() override { return call("CheckTerminal"); }
    int ReqDataFile() override { return call("ReqDataFile"); }
    int get_DataFile(char* buffer, int size) override {
        return textCall("get_DataFile", buffer, size);
    }
    int get_DataFileBinary(char* buffer, int& length, int size) override {
        return binaryCall("get_DataFileBinary", buffer, length, size);
    }
    int get_PanHash(char* buffer, int size) override {
        return textCall("get_PanHash", buffer, size);
    }
    int get_SlipPrinted(unsigned char& value) override {
        return byteCall("get_SlipPrinted", value);
    }
    int get_TerminalInfo(char* buffer, int size) override {
        return textCall("get_TerminalInfo", buffer, size);
    }

private:
    static void put(std::ostringstream& out, const char* text) { out << (text ? text : "null"); }
    static void put(std::ostringstream& out, char* text) {
        put(out, static_cast<const char*>(text));
    }
    static void put(std::ostringstream& out, unsigned char number) { out << unsigned(number); }
    static void put(std::ostringstream& out, bool flag) { out << (flag ? 1 : 0); }
    static void put(std::ostringstream& out, unsigned int number) { out << number; }
    static void put(std::ostringstream& out, int number) { out << number; }

    template <typename... Args> int call(const char* name, Args... args) {
        std::ostringstream text;
        text << name << "(";
        [[maybe_unused]] const char* separator = "";
        ((text << separator, put(text, args), separator = ","), ...);
        text << ")";
        lastCall = text.str();
        if (throws)
            throw std::runtime_error("scripted failure");
        return code;
    }
    int byteCall(const char* name, unsigned char& out) {
        int rc = call(name);
        if (rc == 0)
            out = byteValue;
        return rc;
    }
    int numberCall(const char* name, unsigned int& out) {
        int rc = call(name);
        if (rc == 0)
            out = numberValue;
        return rc;
    }
    int textCall(const char* name, char* buffer, int capacity) {
        int rc = call(name, capacity);
        if (rc != 0)
            return rc;
        if (value.size() > static_cast<std::size_t>(capacity))
            return 10;
        std::memcpy(buffer, value.data(), value.size());
        return 0;
    }
    int binaryCall(const char* name, char* buffer, int& length, int capacity) {
        int rc = textCall(name, buffer, capacity);
        if (rc == 0)
            length = static_cast<int>(value.size());
        return rc;
    }
};
