#ifndef VELAECR_CLIENT_H
#define VELAECR_CLIENT_H

/* The class interface of the payment-terminal client, for C++ hosts that make
 * instances of their own with create()/destroy() or VELAFactory. Such an
 * instance is independent of the one the VELALib_* functions use.
 *
 * Every operation returns 0 on success or a result code (1..17, see
 * velaecr.h). Operations return at once; the work runs on the instance's
 * worker thread, and the caller polls get_LastResult() until it is no longer
 * 2. Only the connection calls, CommClose() and the destructor block. */

#include "velaecr_export.h"

class VELA_EXPORT CVELAClient {
public:
    virtual ~CVELAClient() {}
    virtual int CommOpen(const char* port, unsigned int baudRate) = 0;
    virtual int CommOpenTCP(const char* address, const char* port) = 0;
    virtual int CommOpenAuto(unsigned int baudRate) = 0;
    virtual int CommClose() = 0;
    virtual int UseMac(unsigned char flag, const char* text) = 0;
    virtual int Confirm() = 0;
    virtual int Cancel() = 0;
    virtual int Purchase(unsigned int amount, unsigned int addAmount, unsigned char merchIdx) = 0;
    virtual int Refund(unsigned int amount, unsigned int addAmount, unsigned char merchIdx,
                       char* rrn) = 0;
    virtual int Void(unsigned int invoiceNum, unsigned char merchIdx) = 0;
    virtual int Settlement(unsigned char merchIdx) = 0;
    virtual int PrintBatchTotals(unsigned char merchIdx) = 0;
    virtual int PurchaseService(unsigned char merchIdx, unsigned int amount,
                                char* serviceParams) = 0;
    virtual int SetErrorLang(unsigned char language) = 0;
    virtual int IdentifyCard(unsigned char merchIdx, char* currCode, unsigned char accNumber) = 0;
    virtual int get_LastResult(unsigned char& value) = 0;
    virtual int get_LastErrorCode(unsigned char& value) = 0;
    virtual int get_ResponseCode(unsigned int& value) = 0;
    virtual int get_DateTime(char* buffer, int size) = 0;
    virtual int get_RRN(char* buffer, int size) = 0;
    virtual int get_TxnType(unsigned char& value) = 0;
    virtual int get_TerminalID(char* buffer, int size) = 0;
    virtual int get_MerchantID(char* buffer, int size) = 0;
    virtual int get_AuthCode(char* buffer, int size) = 0;
    virtual int get_LastErrorDescription(char* buffer, int size) = 0;
    virtual int get_LastStatMsgCode(unsigned char& value) = 0;
    virtual int get_LastStatMsgDescription(char* buffer, int size) = 0;
    virtual int get_PAN(char* buffer, int size) = 0;
    virtual int get_ExpDate(char* buffer, int size) = 0;
    virtual int get_CardHolder(char* buffer, int size) = 0;
    virtual int get_IssuerName(char* buffer, int size) = 0;
    virtual int get_InvoiceNum(unsigned int& value) = 0;
    virtual int get_CompletionInvoiceNum(unsigned int& value) = 0;
    virtual int get_TotalsDebitAmt(unsigned int& value) = 0;
    virtual int get_TotalsDebitNum(unsigned int& value) = 0;
    virtual int get_TotalsCreditAmt(unsigned int& value) = 0;
    virtual int get_TotalsCreditNum(unsigned int& value) = 0;
    virtual int get_TotalsCancelledAmt(unsigned int& value) = 0;
    virtual int get_TotalsCancelledNum(unsigned int& value) = 0;
    virtual int get_SignVerif(unsigned char& value) = 0;
    virtual int get_Receipt(char* buffer, int size) = 0;
    virtual int get_emvAID(char* buffer, int size) = 0;
    virtual int get_EntryMode(unsigned char& value) = 0;
    virtual int get_TxnNum(unsigned int& value) = 0;
    virtual int get_Amount(unsigned int& value) = 0;
    virtual int get_AddAmount(unsigned int& value) = 0;
    virtual int get_TermStatus(unsigned char& value) = 0;
    virtual int get_Key(unsigned char& value) = 0;
    virtual int get_Track3(char* buffer, int size) = 0;
    virtual int get_TrnStatus(unsigned char& value) = 0;
    virtual int get_Currency(char* buffer, int size) = 0;
    virtual int get_TrnBatchNum(unsigned int& value) = 0;
    virtual int get_RNK(char* buffer, int size) = 0;
    virtual int get_CurrencyCode(char* buffer, int size) = 0;
    virtual int get_AddData(char* buffer, int size) = 0;
    virtual int get_TeminalInfo(char* buffer, int size) = 0;
    virtual int get_DiscountName(char* buffer, int size) = 0;
    virtual int get_DiscountAttribute(unsigned int& value) = 0;
    virtual int get_ECRDataTM(char* buffer, int size) = 0;
    virtual int get_LibraryVersion(char* buffer, int size) = 0;
    virtual int get_ScenarioData(char* buffer, int size) = 0;
    virtual int GetTxnNum() = 0;
    virtual int GetTxnDataByOrder(unsigned int orderNum) = 0;
    virtual int GetTxnDataByInv(unsigned int invoiceNum, unsigned char merchIdx) = 0;
    virtual int GetBatchTotals(unsigned char merchIdx) = 0;
    virtual int CheckConnection(unsigned char merchIdx) = 0;
    virtual int ReqCurrReceipt() = 0;
    virtual int PrintLastSettleCopy(unsigned char merchIdx) = 0;
    virtual int PrintBatchJournal(unsigned char merchIdx) = 0;
    virtual int ReqReceiptByInv(unsigned int invoiceNum, unsigned char merchIdx) = 0;
    virtual int SetControlMode(bool mode) = 0;
    virtual int ReadKey(unsigned char timeOut) = 0;
    virtual int DisplayText(unsigned char beep) = 0;
    virtual int SetLine(unsigned char row, unsigned char col, const char* text,
                        unsigned char invert) = 0;
    virtual int ExchangeStatuses(unsigned char ecrStatus) = 0;
    virtual int Completion(unsigned char merchIdx, unsigned int amount, const char* rrn,
                           unsigned int invoiceNum) = 0;
    virtual int ReadCard() = 0;
    virtual int Balance(unsigned char merchIdx, const char* currCode, unsigned char accNumber) = 0;
    virtual int Deposit(unsigned char merchIdx, unsigned int amount, const char* currCode,
                        unsigned char accNumber) = 0;
    virtual int POSGetInfo() = 0;
    virtual int POSExTransaction() = 0;
    virtual int SelectApp(const char* appName, unsigned int appIdx) = 0;
    virtual int CloseApp() = 0;
    virtual int StartScenario(unsigned int scenarioID, const char* scenarioData) = 0;
    virtual int SetExtraPrintData(const char* data) = 0;
    virtual int SetExtraXmlData(const char* data) = 0;
    virtual int useLogging(unsigned char level, const char* path) = 0;
    virtual int SendFile(const char* path, unsigned char dataType, unsigned char command) = 0;
    virtual int SetScreen(unsigned int screenNumber) = 0;
    virtual int CorrectTransaction(unsigned int amount, unsigned int addAmount) = 0;
    virtual int CashAdvance(unsigned char merchIdx, unsigned int amount, const char* currCode,
                            unsigned char accNumber) = 0;
    virtual int ReadBankCard() = 0;
    virtual int get_FlagAcquirer(unsigned int& value) = 0;
    virtual int get_CryptedData(char* buffer, int size) = 0;
    virtual int get_ExtraCardData(char* buffer, int size) = 0;
    virtual int Ping() = 0;
    virtual int CheckTerminal() = 0;
    virtual int ReqDataFile() = 0;
    virtual int get_DataFile(char* buffer, int size) = 0;
    virtual int get_DataFileBinary(char* buffer, int& length, int size) = 0;
    virtual int get_PanHash(char* buffer, int size) = 0;
    virtual int get_SlipPrinted(unsigned char& value) = 0;
    virtual int get_TerminalInfo(char* buffer, int size) = 0;
};

/* Makes and frees instances of the class interface. */
class VELA_EXPORT VELAFactory {
public:
    /* A new client instance, owned by the caller (free it with destroyVELAIns). */
    CVELAClient* createVELAIns();
    /* Deletes the instance through its virtual destructor; ignores null. */
    void destroyVELAIns(CVELAClient* instance);
};

extern "C" {
/* A new client instance, owned by the caller; null when none could be made. */
VELA_EXPORT CVELAClient* create();
/* Deletes an instance made by create(); does nothing for null. */
VELA_EXPORT void destroy(CVELAClient* instance);
}

#endif
