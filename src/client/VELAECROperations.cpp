// Operation entry points. Their argument checks, argument log lines and
// stored parameters come with the requests the worker builds; for now each
// writes its call line and goes through the common start (or, for the calls
// that start no task, the guard and the idle check), so without an open and
// initialised connection each returns 5.
#include "client/VELAECRClient.h"

#include "diagnostics/VELALogger.h"

int CVELAECRClient::refuseUnlessIdle() {
    int code = ECRC_OK;
    if (!IsOpenedAndInited(code))
        return ret(ECRC_PORTNOTOPENED);
    MutexLock lock(m_pMutex);
    return ret(m_task == EThreadTask_Idle ? ECRC_OK : ECRC_TASKRUNNING);
}

int CVELAECRClient::Purchase(unsigned int, unsigned int, unsigned char) {
    VELALogger::WriteShort("call Purchase()");
    return startOperation(EThreadTask_Purchase);
}

int CVELAECRClient::Refund(unsigned int, unsigned int, unsigned char, char*) {
    VELALogger::WriteShort("call Refund()");
    return startOperation(EThreadTask_Refund);
}

int CVELAECRClient::Void(unsigned int, unsigned char) {
    VELALogger::WriteShort("call Void()");
    return startOperation(EThreadTask_Void);
}

int CVELAECRClient::Settlement(unsigned char) {
    VELALogger::WriteShort("call Settlement()");
    return startOperation(EThreadTask_Settlement);
}

int CVELAECRClient::PrintBatchTotals(unsigned char) {
    VELALogger::WriteShort("call PrintBatchTotals()");
    return startOperation(EThreadTask_PrintBatchTotals);
}

int CVELAECRClient::PurchaseService(unsigned char, unsigned int, char*) {
    VELALogger::WriteShort("call PurchaseService()");
    return startOperation(EThreadTask_PurchaseService);
}

int CVELAECRClient::IdentifyCard(unsigned char, char*, unsigned char) {
    VELALogger::WriteShort("call IdentifyCard()");
    return startOperation(EThreadTask_IdentifyCard);
}

int CVELAECRClient::GetTxnNum() {
    VELALogger::WriteShort("call GetTxnNum()");
    return startOperation(EThreadTask_GetTxnNum);
}

int CVELAECRClient::GetTxnDataByOrder(unsigned int) {
    VELALogger::WriteShort("call GetTxnDataByOrder()");
    return startOperation(EThreadTask_GetTxnDataByOrder);
}

int CVELAECRClient::GetTxnDataByInv(unsigned int, unsigned char) {
    VELALogger::WriteShort("call GetTxnDataByInv()");
    return startOperation(EThreadTask_GetTxnDataByInv);
}

int CVELAECRClient::GetBatchTotals(unsigned char) {
    VELALogger::WriteShort("call GetBatchTotals()");
    return startOperation(EThreadTask_GetBatchTotals);
}

int CVELAECRClient::CheckConnection(unsigned char) {
    VELALogger::WriteShort("call CheckConnection()");
    return startOperation(EThreadTask_CheckConnection);
}

int CVELAECRClient::ReqCurrReceipt() {
    VELALogger::WriteShort("call ReqCurrReceipt()");
    return startOperation(EThreadTask_ReqCurrReceipt);
}

int CVELAECRClient::PrintLastSettleCopy(unsigned char) {
    VELALogger::WriteShort("call PrintLastSettleCopy()");
    return startOperation(EThreadTask_PrintLastSettleCopy);
}

int CVELAECRClient::PrintBatchJournal(unsigned char) {
    VELALogger::WriteShort("call PrintBatchJournal()");
    return startOperation(EThreadTask_PrintBatchJournal);
}

int CVELAECRClient::ReqReceiptByInv(unsigned int, unsigned char) {
    VELALogger::WriteShort("call ReqReceiptByInv()");
    return startOperation(EThreadTask_ReqReceiptByInv);
}

int CVELAECRClient::SetControlMode(bool) {
    VELALogger::WriteShort("call SetControlMode()");
    return startOperation(EThreadTask_SetControlMode);
}

int CVELAECRClient::ReadKey(unsigned char) {
    VELALogger::WriteShort("call ReadKey()");
    return startOperation(EThreadTask_ReadKey);
}

int CVELAECRClient::DisplayText(unsigned char) {
    VELALogger::WriteShort("call DisplayText()");
    return startOperation(EThreadTask_DisplayText);
}

int CVELAECRClient::SetLine(unsigned char, unsigned char, const char*, unsigned char) {
    VELALogger::WriteShort("call SetLine()");
    return refuseUnlessIdle();
}

int CVELAECRClient::ExchangeStatuses(unsigned char) {
    VELALogger::WriteShort("call ExchangeStatuses()");
    return startOperation(EThreadTask_ExchangeStatuses);
}

int CVELAECRClient::Completion(unsigned char, unsigned int, const char*, unsigned int) {
    VELALogger::WriteShort("call Completion()");
    return startOperation(EThreadTask_Completion);
}

int CVELAECRClient::ReadCard() {
    VELALogger::WriteShort("call ReadCard()");
    return startOperation(EThreadTask_ReadCard);
}

int CVELAECRClient::Balance(unsigned char, const char*, unsigned char) {
    VELALogger::WriteShort("call Balance()");
    return startOperation(EThreadTask_Balance);
}

int CVELAECRClient::Deposit(unsigned char, unsigned int, const char*, unsigned char) {
    VELALogger::WriteShort("call Deposit()");
    return startOperation(EThreadTask_Deposit);
}

int CVELAECRClient::POSGetInfo() {
    VELALogger::WriteShort("call POSGetInfo()");
    return startOperation(EThreadTask_POSGetInfo);
}

int CVELAECRClient::POSExTransaction() {
    VELALogger::WriteShort("call POSExTransaction()");
    return startOperation(EThreadTask_POSExTransaction);
}

int CVELAECRClient::SelectApp(const char*, unsigned int) {
    VELALogger::WriteShort("call SelectApp()");
    return startOperation(EThreadTask_SelectApp);
}

int CVELAECRClient::CloseApp() {
    VELALogger::WriteShort("call CloseApp()");
    return startOperation(EThreadTask_CloseApp);
}

int CVELAECRClient::StartScenario(unsigned int, const char*) {
    VELALogger::WriteShort("call StartScenario()");
    return startOperation(EThreadTask_StartScenario);
}

int CVELAECRClient::SetExtraPrintData(const char*) {
    VELALogger::WriteShort("call SetExtraPrintData()");
    return refuseUnlessIdle();
}

int CVELAECRClient::SetExtraXmlData(const char*) {
    VELALogger::WriteShort("call SetExtraXmlData()");
    return refuseUnlessIdle();
}

int CVELAECRClient::SendFile(const char*, unsigned char, unsigned char) {
    VELALogger::WriteShort("call SendFile() ");
    return startOperation(EThreadTask_SendFile);
}

int CVELAECRClient::SetScreen(unsigned int) {
    VELALogger::WriteShort("call SetScreen() ");
    return refuseUnlessIdle();
}

int CVELAECRClient::CorrectTransaction(unsigned int, unsigned int) {
    VELALogger::WriteShort("call CorrectTransaction() ");
    return refuseUnlessIdle();
}

int CVELAECRClient::CashAdvance(unsigned char, unsigned int, const char*, unsigned char) {
    VELALogger::WriteShort("call CashAdvance()");
    return startOperation(EThreadTask_CashAdvance);
}

int CVELAECRClient::ReadBankCard() {
    VELALogger::WriteShort("call ReadBankCard()");
    return startOperation(EThreadTask_ReadBankCard);
}

int CVELAECRClient::ReqDataFile() {
    VELALogger::WriteShort("call ReqDataFile()");
    return startOperation(EThreadTask_ReqDataFile);
}
