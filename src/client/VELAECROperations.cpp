// Operation entry points: each logs its call and arguments, checks the
// connection and the worker, and under the engine mutex starts its task and
// stores its arguments for the request the worker builds. None waits for the
// terminal.
#include "client/ScreenBlock.h"
#include "client/VELAECRClient.h"

#include "diagnostics/Trace.h"
#include "diagnostics/VELALogger.h"

#include <cstring>
#include <string>

namespace {

void logNumber(const char* label, unsigned value) {
    VELALogger::WriteShort(label + std::to_string(value));
}

// A null text is logged as the label alone.
void logText(const char* label, const char* text) {
    VELALogger::WriteShort(std::string(label) + (text != nullptr ? text : ""));
}

// The RRN field holds at most 1023 characters and its terminator; a longer
// RRN is cut. A null RRN leaves the field empty.
void storeRrn(char (&field)[1024], const char* rrn) {
    std::memset(field, 0, sizeof field);
    if (rrn != nullptr)
        std::memcpy(field, rrn, strnlen(rrn, sizeof field - 1));
}

// A currency code is three characters (e.g. "980"); a longer text is cut to
// three so that the field stays terminated. A null code leaves it empty.
void storeCurrency(char (&field)[4], const char* code) {
    std::memset(field, 0, sizeof field);
    if (code != nullptr)
        std::memcpy(field, code, strnlen(code, sizeof field - 1));
}

} // namespace

int CVELAECRClient::Purchase(unsigned int amount, unsigned int addAmount, unsigned char merchIdx) {
    CTrace::Write("CVELAECRClient::Purchase | start");
    VELALogger::WriteShort("call Purchase()");
    logNumber("Amount: ", amount);
    logNumber("AddAmount: ", addAmount);
    logNumber("MerchIdx: ", merchIdx);
    int code = ECRC_OK;
    if (!IsOpenedAndInited(code)) {
        CTrace::Write("CVELAECRClient::Purchase | !IsOpenedAndInited(rc)");
        return ret(ECRC_PORTNOTOPENED);
    }
    return startIfIdle(EThreadTask_Purchase, [&] {
        m_transactData.m_amount = amount;
        m_transactData.m_addAmount = addAmount;
        m_transactData.m_merchIdx = merchIdx;
    });
}

int CVELAECRClient::Refund(unsigned int amount, unsigned int addAmount, unsigned char merchIdx,
                           char* rrn) {
    if (rrn == nullptr)
        return ret(ECRC_ERROR);
    VELALogger::WriteShort("call Refund()");
    logNumber("Amount: ", amount);
    logNumber("AddAmount: ", addAmount);
    logNumber("MerchIdx: ", merchIdx);
    logText("RRN: ", rrn);
    return startOperation(EThreadTask_Refund, [&] {
        m_transactData.m_amount = amount;
        m_transactData.m_addAmount = addAmount;
        m_transactData.m_merchIdx = merchIdx;
        storeRrn(m_transactData.m_rrn, rrn);
    });
}

int CVELAECRClient::Void(unsigned int invoiceNum, unsigned char merchIdx) {
    VELALogger::WriteShort("call Void()");
    logNumber("InvoceNum: ", invoiceNum);
    logNumber("MerchIdx: ", merchIdx);
    return startOperation(EThreadTask_Void, [&] {
        m_transactData.m_invoiceNum = invoiceNum;
        m_transactData.m_merchIdx = merchIdx;
    });
}

// The operations whose only argument is the merchant index.
int CVELAECRClient::startWithMerchant(const char* callLine, EThreadTask task,
                                      unsigned char merchIdx) {
    VELALogger::WriteShort(callLine);
    logNumber("MerchIdx: ", merchIdx);
    return startOperation(task, [&] { m_transactData.m_merchIdx = merchIdx; });
}

int CVELAECRClient::Settlement(unsigned char merchIdx) {
    return startWithMerchant("call Settlement()", EThreadTask_Settlement, merchIdx);
}

int CVELAECRClient::PrintBatchTotals(unsigned char merchIdx) {
    return startWithMerchant("call PrintBatchTotals()", EThreadTask_PrintBatchTotals, merchIdx);
}

int CVELAECRClient::PurchaseService(unsigned char merchIdx, unsigned int amount,
                                    char* serviceParams) {
    if (serviceParams == nullptr)
        return ret(ECRC_ERROR);
    VELALogger::WriteShort("call PurchaseService()");
    logNumber("MerchIdx: ", merchIdx);
    logNumber("Amount: ", amount);
    logText("ServicePararms: ", serviceParams);
    return startOperation(EThreadTask_PurchaseService, [&] {
        m_transactData.m_merchIdx = merchIdx;
        m_transactData.m_amount = amount;
        m_transactData.m_serviceParams = serviceParams;
    });
}

int CVELAECRClient::IdentifyCard(unsigned char merchIdx, char* currCode, unsigned char accNumber) {
    if (currCode == nullptr)
        return ret(ECRC_ERROR);
    VELALogger::WriteShort("call IdentifyCard()");
    logNumber("MerchIdx: ", merchIdx);
    logText("CurrCode: ", currCode);
    logNumber("AccNumber: ", accNumber);
    return startOperation(EThreadTask_IdentifyCard, [&] {
        m_transactData.m_merchIdx = merchIdx;
        m_transactData.m_identifyCard = 1;
        storeCurrency(m_transactData.m_currCode, currCode);
        m_transactData.m_accNumber = accNumber;
    });
}

int CVELAECRClient::GetTxnNum() {
    VELALogger::WriteShort("call GetTxnNum()");
    return startOperation(EThreadTask_GetTxnNum);
}

int CVELAECRClient::GetTxnDataByOrder(unsigned int orderNum) {
    VELALogger::WriteShort("call GetTxnDataByOrder()");
    logNumber("OrderNum: ", orderNum);
    return startOperation(EThreadTask_GetTxnDataByOrder,
                          [&] { m_transactData.m_orderNum = orderNum; });
}

int CVELAECRClient::GetTxnDataByInv(unsigned int invoiceNum, unsigned char merchIdx) {
    VELALogger::WriteShort("call GetTxnDataByInv()");
    logNumber("InvoiceNum: ", invoiceNum);
    logNumber("MerchIdx: ", merchIdx);
    return startOperation(EThreadTask_GetTxnDataByInv, [&] {
        m_transactData.m_invoiceNum = invoiceNum;
        m_transactData.m_merchIdx = merchIdx;
    });
}

int CVELAECRClient::GetBatchTotals(unsigned char merchIdx) {
    return startWithMerchant("call GetBatchTotals()", EThreadTask_GetBatchTotals, merchIdx);
}

int CVELAECRClient::CheckConnection(unsigned char merchIdx) {
    return startWithMerchant("call CheckConnection()", EThreadTask_CheckConnection, merchIdx);
}

int CVELAECRClient::ReqCurrReceipt() {
    VELALogger::WriteShort("call ReqCurrReceipt()");
    return startOperation(EThreadTask_ReqCurrReceipt);
}

int CVELAECRClient::PrintLastSettleCopy(unsigned char merchIdx) {
    return startWithMerchant("call PrintLastSettleCopy()", EThreadTask_PrintLastSettleCopy,
                             merchIdx);
}

int CVELAECRClient::PrintBatchJournal(unsigned char merchIdx) {
    return startWithMerchant("call PrintBatchJournal()", EThreadTask_PrintBatchJournal, merchIdx);
}

int CVELAECRClient::ReqReceiptByInv(unsigned int invoiceNum, unsigned char merchIdx) {
    VELALogger::WriteShort("call ReqReceiptByInv()");
    logNumber("InvoiceNum: ", invoiceNum);
    logNumber("MerchIdx: ", merchIdx);
    return startOperation(EThreadTask_ReqReceiptByInv, [&] {
        m_transactData.m_invoiceNum = invoiceNum;
        m_transactData.m_merchIdx = merchIdx;
    });
}

int CVELAECRClient::SetControlMode(bool mode) {
    VELALogger::WriteShort("call SetControlMode()");
    logNumber("ctrlMode: ", mode ? 1 : 0);
    return startOperation(EThreadTask_SetControlMode,
                          [&] { m_transactData.m_ctrlMode = mode ? 1 : 0; });
}

int CVELAECRClient::ReadKey(unsigned char timeOut) {
    VELALogger::WriteShort("call ReadKey()");
    logNumber("TimeOut: ", timeOut);
    return startOperation(EThreadTask_ReadKey, [&] { m_transactData.m_timeOut = timeOut; });
}

// Sends the screen block built by SetLine. The next SetLine starts a new
// block, also when this call is refused because the worker is busy.
int CVELAECRClient::DisplayText(unsigned char beep) {
    VELALogger::WriteShort("call DisplayText()");
    logNumber("Beep: ", beep);
    int code = ECRC_OK;
    if (!IsOpenedAndInited(code))
        return ret(ECRC_PORTNOTOPENED);
    code = ECRC_OK;
    {
        MutexLock lock(m_pMutex);
        m_isNewScreen = true;
        if (m_task == EThreadTask_Idle) {
            startTask(EThreadTask_DisplayText);
            m_transactData.m_beep = beep;
        } else {
            code = ECRC_TASKRUNNING;
        }
    }
    return ret(code);
}

int CVELAECRClient::SetLine(unsigned char row, unsigned char col, const char* text,
                            unsigned char invert) {
    VELALogger::WriteShort("call SetLine()");
    logNumber("Row: ", row);
    logNumber("Col: ", col);
    logText("Text: ", text);
    logNumber("Invert: ", invert);
    return storeIfIdle(
        [&] { addScreenLine(m_transactData, m_isNewScreen, row, col, text, invert); });
}

int CVELAECRClient::ExchangeStatuses(unsigned char ecrStatus) {
    VELALogger::WriteShort("call ExchangeStatuses()");
    logNumber("ECRStatus: ", ecrStatus);
    return startOperation(EThreadTask_ExchangeStatuses,
                          [&] { m_transactData.m_ecrStatus = ecrStatus; });
}

int CVELAECRClient::Completion(unsigned char merchIdx, unsigned int amount, const char* rrn,
                               unsigned int invoiceNum) {
    VELALogger::WriteShort("call Completion()");
    logNumber("MerchIdx: ", merchIdx);
    logNumber("Amount: ", amount);
    logText("RRN: ", rrn);
    logNumber("ulInvoiceNum: ", invoiceNum);
    return startOperation(EThreadTask_Completion, [&] {
        m_transactData.m_merchIdx = merchIdx;
        m_transactData.m_amount = amount;
        storeRrn(m_transactData.m_rrn, rrn);
        m_transactData.m_invoiceNum = invoiceNum;
    });
}

int CVELAECRClient::ReadCard() {
    VELALogger::WriteShort("call ReadCard()");
    return startOperation(EThreadTask_ReadCard);
}

int CVELAECRClient::Balance(unsigned char merchIdx, const char* currCode, unsigned char accNumber) {
    VELALogger::WriteShort("call Balance()");
    logNumber("MerchIdx: ", merchIdx);
    logText("CurrCode: ", currCode);
    logNumber("AccNumber: ", accNumber);
    return startOperation(EThreadTask_Balance, [&] {
        m_transactData.m_identifyCard = 0;
        storeCurrency(m_transactData.m_currCode, currCode);
        m_transactData.m_merchIdx = merchIdx;
        m_transactData.m_accNumber = accNumber;
    });
}

// Deposit and CashAdvance: the same arguments, different tasks.
int CVELAECRClient::startWithCurrency(const char* callLine, EThreadTask task,
                                      unsigned char merchIdx, unsigned int amount,
                                      const char* currCode, unsigned char accNumber) {
    VELALogger::WriteShort(callLine);
    logNumber("MerchIdx: ", merchIdx);
    logNumber("Amount: ", amount);
    logText("CurrCode: ", currCode);
    logNumber("AccNumber: ", accNumber);
    return startOperation(task, [&] {
        storeCurrency(m_transactData.m_currCode, currCode);
        m_transactData.m_merchIdx = merchIdx;
        m_transactData.m_amount = amount;
        m_transactData.m_accNumber = accNumber;
    });
}

int CVELAECRClient::Deposit(unsigned char merchIdx, unsigned int amount, const char* currCode,
                            unsigned char accNumber) {
    return startWithCurrency("call Deposit()", EThreadTask_Deposit, merchIdx, amount, currCode,
                             accNumber);
}

int CVELAECRClient::POSGetInfo() {
    VELALogger::WriteShort("call POSGetInfo()");
    return startOperation(EThreadTask_POSGetInfo);
}

int CVELAECRClient::POSExTransaction() {
    VELALogger::WriteShort("call POSExTransaction()");
    return startOperation(EThreadTask_POSExTransaction);
}

int CVELAECRClient::SelectApp(const char* appName, unsigned int appIdx) {
    if (appName == nullptr)
        return ret(ECRC_ERROR);
    VELALogger::WriteShort("call SelectApp()");
    logText("AppName: ", appName);
    logNumber("AppIdx: ", appIdx);
    return startOperation(EThreadTask_SelectApp, [&] {
        m_transactData.m_appName = appName;
        m_transactData.m_appIdx = appIdx;
    });
}

int CVELAECRClient::CloseApp() {
    VELALogger::WriteShort("call CloseApp()");
    return startOperation(EThreadTask_CloseApp);
}

int CVELAECRClient::StartScenario(unsigned int scenarioID, const char* scenarioData) {
    if (scenarioData == nullptr)
        return ret(ECRC_ERROR);
    VELALogger::WriteShort("call StartScenario()");
    logNumber("ScenarioID: ", scenarioID);
    logText("ScenarioData: ", scenarioData);
    return startOperation(EThreadTask_StartScenario, [&] {
        m_transactData.m_scenarioID = scenarioID;
        m_transactData.m_scenarioData = scenarioData;
    });
}

// Extra print or XML data go with every later request that carries them; a
// null or empty text stops them. Stored also while an operation runs.
int CVELAECRClient::storeExtraData(std::string CTransactData::*member, const char* data) {
    int code = ECRC_OK;
    if (!IsOpenedAndInited(code))
        return ret(ECRC_PORTNOTOPENED);
    {
        MutexLock lock(m_pMutex);
        m_transactData.*member = data != nullptr ? data : "";
    }
    return ret(ECRC_OK);
}

int CVELAECRClient::SetExtraPrintData(const char* data) {
    VELALogger::WriteShort("call SetExtraPrintData()");
    logText("ExtraPrintData: ", data);
    return storeExtraData(&CTransactData::m_extraPrintData, data);
}

int CVELAECRClient::SetExtraXmlData(const char* data) {
    VELALogger::WriteShort("call SetExtraXmlData()");
    logText("ExtraXmlData: ", data);
    return storeExtraData(&CTransactData::m_extraXmlData, data);
}

// The file is read and checked by the worker when it sends it.
int CVELAECRClient::SendFile(const char* path, unsigned char dataType, unsigned char command) {
    if (path == nullptr)
        return ret(ECRC_ERROR);
    VELALogger::WriteShort("call SendFile() ");
    logText("FullPath: ", path);
    logNumber("ECRDataType: ", dataType);
    logNumber("ECRCommand: ", command);
    return startOperation(EThreadTask_SendFile, [&] {
        m_transactData.m_fullPath = path;
        m_ecrDataType = dataType;
        m_ecrCommand = command;
    });
}

// The screen number stays in force for every later DisplayText.
int CVELAECRClient::SetScreen(unsigned int screenNumber) {
    VELALogger::WriteShort("call SetScreen() ");
    logNumber("ScreenNumber: ", screenNumber);
    return storeIfIdle([&] { m_screenNumber = screenNumber; });
}

// Asks a running purchase or scenario to correct its amounts. Needs no
// connection, does not look at the worker and leaves the last result alone.
int CVELAECRClient::CorrectTransaction(unsigned int amount, unsigned int addAmount) {
    VELALogger::WriteShort("call CorrectTransaction() ");
    logNumber("Amount: ", amount);
    logNumber("lAddAmount: ", addAmount);
    MutexLock lock(m_pMutex);
    m_transactData.m_amount = amount;
    m_transactData.m_addAmount = addAmount;
    m_isCorrectionRequested = true;
    return ECRC_OK;
}

int CVELAECRClient::CashAdvance(unsigned char merchIdx, unsigned int amount, const char* currCode,
                                unsigned char accNumber) {
    return startWithCurrency("call CashAdvance()", EThreadTask_CashAdvance, merchIdx, amount,
                             currCode, accNumber);
}

int CVELAECRClient::ReadBankCard() {
    VELALogger::WriteShort("call ReadBankCard()");
    return startOperation(EThreadTask_ReadBankCard);
}

int CVELAECRClient::ReqDataFile() {
    VELALogger::WriteShort("call ReqDataFile()");
    return startOperation(EThreadTask_ReqDataFile);
}
