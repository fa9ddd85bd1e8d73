#pragma once

#include "engine/ECRClient.h"
#include "velaecr_client.h"

#include <atomic>
#include <cstdint>
#include <string>

// The one object behind every exported call: the class interface implemented
// on top of the transaction engine. Every call runs on the caller's thread;
// apart from the connection calls and CommClose it only checks, records and
// hands the work to the worker, then returns.
class CVELAECRClient : public CVELAClient, public CECRClient {
public:
    CVELAECRClient();
    // Closes the connection (stops the worker, closes the transport) first.
    ~CVELAECRClient() override;

    int CommOpen(const char* port, unsigned int baudRate) override;
    int CommOpenTCP(const char* address, const char* port) override;
    int CommOpenAuto(unsigned int baudRate) override;
    int CommClose() override;
    int UseMac(unsigned char flag, const char* text) override;
    int Confirm() override;
    int Cancel() override;
    int Purchase(unsigned int amount, unsigned int addAmount, unsigned char merchIdx) override;
    int Refund(unsigned int amount, unsigned int addAmount, unsigned char merchIdx,
               char* rrn) override;
    int Void(unsigned int invoiceNum, unsigned char merchIdx) override;
    int Settlement(unsigned char merchIdx) override;
    int PrintBatchTotals(unsigned char merchIdx) override;
    int PurchaseService(unsigned char merchIdx, unsigned int amount, char* serviceParams) override;
    int SetErrorLang(unsigned char language) override;
    int IdentifyCard(unsigned char merchIdx, char* currCode, unsigned char accNumber) override;
    int get_LastResult(unsigned char& value) override;
    int get_LastErrorCode(unsigned char& value) override;
    int get_ResponseCode(unsigned int& value) override;
    int get_DateTime(char* buffer, int size) override;
    int get_RRN(char* buffer, int size) override;
    int get_TxnType(unsigned char& value) override;
    int get_TerminalID(char* buffer, int size) override;
    int get_MerchantID(char* buffer, int size) override;
    int get_AuthCode(char* buffer, int size) override;
    int get_LastErrorDescription(char* buffer, int size) override;
    int get_LastStatMsgCode(unsigned char& value) override;
    int get_LastStatMsgDescription(char* buffer, int size) override;
    int get_PAN(char* buffer, int size) override;
    int get_ExpDate(char* buffer, int size) override;
    int get_CardHolder(char* buffer, int size) override;
    int get_IssuerName(char* buffer, int size) override;
    int get_InvoiceNum(unsigned int& value) override;
    int get_CompletionInvoiceNum(unsigned int& value) override;
    int get_TotalsDebitAmt(unsigned int& value) override;
    int get_TotalsDebitNum(unsigned int& value) override;
    int get_TotalsCreditAmt(unsigned int& value) override;
    int get_TotalsCreditNum(unsigned int& value) override;
    int get_TotalsCancelledAmt(unsigned int& value) override;
    int get_TotalsCancelledNum(unsigned int& value) override;
    int get_SignVerif(unsigned char& value) override;
    int get_Receipt(char* buffer, int size) override;
    int get_emvAID(char* buffer, int size) override;
    int get_EntryMode(unsigned char& value) override;
    int get_TxnNum(unsigned int& value) override;
    int get_Amount(unsigned int& value) override;
    int get_AddAmount(unsigned int& value) override;
    int get_TermStatus(unsigned char& value) override;
    int get_Key(unsigned char& value) override;
    int get_Track3(char* buffer, int size) override;
    int get_TrnStatus(unsigned char& value) override;
    int get_Currency(char* buffer, int size) override;
    int get_TrnBatchNum(unsigned int& value) override;
    int get_RNK(char* buffer, int size) override;
    int get_CurrencyCode(char* buffer, int size) override;
    int get_AddData(char* buffer, int size) override;
    int get_TeminalInfo(char* buffer, int size) override;
    int get_DiscountName(char* buffer, int size) override;
    int get_DiscountAttribute(unsigned int& value) override;
    int get_ECRDataTM(char* buffer, int size) override;
    int get_LibraryVersion(char* buffer, int size) override;
    int get_ScenarioData(char* buffer, int size) override;
    int GetTxnNum() override;
    int GetTxnDataByOrder(unsigned int orderNum) override;
    int GetTxnDataByInv(unsigned int invoiceNum, unsigned char merchIdx) override;
    int GetBatchTotals(unsigned char merchIdx) override;
    int CheckConnection(unsigned char merchIdx) override;
    int ReqCurrReceipt() override;
    int PrintLastSettleCopy(unsigned char merchIdx) override;
    int PrintBatchJournal(unsigned char merchIdx) override;
    int ReqReceiptByInv(unsigned int invoiceNum, unsigned char merchIdx) override;
    int SetControlMode(bool mode) override;
    int ReadKey(unsigned char timeOut) override;
    int DisplayText(unsigned char beep) override;
    int SetLine(unsigned char row, unsigned char col, const char* text,
                unsigned char invert) override;
    int ExchangeStatuses(unsigned char ecrStatus) override;
    int Completion(unsigned char merchIdx, unsigned int amount, const char* rrn,
                   unsigned int invoiceNum) override;
    int ReadCard() override;
    int Balance(unsigned char merchIdx, const char* currCode, unsigned char accNumber) override;
    int Deposit(unsigned char merchIdx, unsigned int amount, const char* currCode,
                unsigned char accNumber) override;
    int POSGetInfo() override;
    int POSExTransaction() override;
    int SelectApp(const char* appName, unsigned int appIdx) override;
    int CloseApp() override;
    int StartScenario(unsigned int scenarioID, const char* scenarioData) override;
    int SetExtraPrintData(const char* data) override;
    int SetExtraXmlData(const char* data) override;
    int useLogging(unsigned char level, const char* path) override;
    int SendFile(const char* path, unsigned char dataType, unsigned char command) override;
    int SetScreen(unsigned int screenNumber) override;
    int CorrectTransaction(unsigned int amount, unsigned int addAmount) override;
    int CashAdvance(unsigned char merchIdx, unsigned int amount, const char* currCode,
                    unsigned char accNumber) override;
    int ReadBankCard() override;
    int get_FlagAcquirer(unsigned int& value) override;
    int get_CryptedData(char* buffer, int size) override;
    int get_ExtraCardData(char* buffer, int size) override;
    int Ping() override;
    int CheckTerminal() override;
    int ReqDataFile() override;
    int get_DataFile(char* buffer, int size) override;
    int get_DataFileBinary(char* buffer, int& length, int size) override;
    int get_PanHash(char* buffer, int size) override;
    int get_SlipPrinted(unsigned char& value) override;
    int get_TerminalInfo(char* buffer, int size) override;

    virtual int get_CardNumber(char* buffer, int size);
    // Returns code and records it in the last-result state. Never takes the
    // engine mutex: the worker calls it with the mutex held.
    int ret(int code) override;

    // The guard of every operation: true when the transport is open and the
    // initialisation has succeeded. code receives the reason on failure.
    bool IsOpenedAndInited(int& code);
    int initialize();
    int open(const char* port, unsigned int baudRate);
    int ping();
    int CommOpenBT();
    // Writes the text of a result code (15's text for unknown codes) into
    // buffer, cleared over size bytes first and cut to size.
    int getECRCDescription(int code, char* buffer, int size);

    // Lookups of one tag of the current result message, each under the
    // engine mutex: 0, 8 when the tag is absent or empty, 10 when a value is
    // longer than capacity (buffer untouched), 9 when a number is not 4 bytes
    // (value untouched). A text fills capacity bytes with zero before the
    // copy, so a value of exactly capacity bytes has no terminator.
    int getStrValue(char* buffer, int capacity, int tag);
    int getBuffValue(char* buffer, int& length, int capacity, int tag);
    int getNumValue(unsigned& value, int tag);
    int getByteValue(unsigned char& value, int tag);

protected:
    template <typename StoreArguments>
    int startOperation(EThreadTask task, StoreArguments storeArguments);
    // The second half of startOperation, after a passed guard.
    template <typename StoreArguments>
    int startIfIdle(EThreadTask task, StoreArguments storeArguments);
    int startOperation(EThreadTask task);
    // A call that starts no task: the guard (5), then under the engine mutex
    // store() when the worker is idle, else 7. Returns through ret.
    template <typename Store> int storeIfIdle(Store store);
    int startWithMerchant(const char* callLine, EThreadTask task, unsigned char merchIdx);
    int startWithCurrency(const char* callLine, EThreadTask task, unsigned char merchIdx,
                          unsigned int amount, const char* currCode, unsigned char accNumber);
    int storeExtraData(std::string CTransactData::*member, const char* data);
    // Starts the worker and runs the initialisation; when no worker can be
    // made, closes the transport and returns 6.
    int startConnectedWorker();
    // What CommClose does: stops the worker, closes the transport, clears
    // the current result message.
    void closeConnection();
    // closeConnection() when a worker runs or the transport is open.
    void closeBeforeReconnect();

    std::atomic<std::uint32_t> m_lastCode{0}; // the code last passed through ret
    std::string m_version;
    bool m_isNewScreen = true; // the next SetLine starts a new screen block
};

// The common start of an operation, after its log lines: the guard (5 when it
// fails), then under the engine mutex either the task is started and the
// arguments stored, or 7 when another task runs. Returns through ret.
template <typename StoreArguments>
int CVELAECRClient::startOperation(EThreadTask task, StoreArguments storeArguments) {
    int code = ECRC_OK;
    if (!IsOpenedAndInited(code))
        return ret(ECRC_PORTNOTOPENED);
    return startIfIdle(task, storeArguments);
}

template <typename StoreArguments>
int CVELAECRClient::startIfIdle(EThreadTask task, StoreArguments storeArguments) {
    int code = ECRC_OK;
    {
        MutexLock lock(m_pMutex);
        if (m_task == EThreadTask_Idle) {
            startTask(task);
            storeArguments();
        } else {
            code = ECRC_TASKRUNNING;
        }
    }
    return ret(code);
}

template <typename Store> int CVELAECRClient::storeIfIdle(Store store) {
    int code = ECRC_OK;
    if (!IsOpenedAndInited(code))
        return ret(ECRC_PORTNOTOPENED);
    code = ECRC_OK;
    {
        MutexLock lock(m_pMutex);
        if (m_task == EThreadTask_Idle)
            store();
        else
            code = ECRC_TASKRUNNING;
    }
    return ret(code);
}
