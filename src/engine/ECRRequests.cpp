// The request of every operation that runs the generic exchange, with the
// message types that may end it.
#include "engine/ECRClient.h"
#include "engine/RequestBuilder.h"

#include "protocol/TagCatalogue.h"

namespace {

struct SRequestParams {
    CTransactData data;
    std::uint32_t screenNumber = 0;
};

using BuildRequest = void (*)(RequestBuilder&, const SRequestParams&);

struct SOperation {
    EThreadTask task;
    BuildRequest build;
    bool withExtras;        // the extra print and XML data go along when set
    unsigned finalTypes[2]; // 0 ends the list
};

RequestBuilder& transaction(RequestBuilder& r, ETxnType type) {
    return r.num(ETag_MsgType, EMsgType_TxnRequest).num(ETag_TxnType, type);
}

RequestBuilder& service(RequestBuilder& r, EServiceOp op) {
    return r.num(ETag_MsgType, EMsgType_ServiceRequest).num(ETag_ServiceOp, op);
}

RequestBuilder& termControl(RequestBuilder& r, ETermCmd command) {
    return r.num(ETag_MsgType, EMsgType_TermCtrlRequest).num(ETag_TermCmd, command);
}

// Balance and card identification share their request.
void balanceEnquiry(RequestBuilder& r, const CTransactData& d) {
    transaction(r, ETxnType_Balance)
        .num(ETag_MerchIdx, d.m_merchIdx)
        .text(ETag_CurrCode, d.m_currCode, sizeof d.m_currCode)
        .num(ETag_AccNumber, d.m_accNumber)
        .num(ETag_IdentifyCard, d.m_identifyCard);
}

// Deposit and cash advance differ only in their transaction type.
void moneyWithCurrency(RequestBuilder& r, const CTransactData& d, ETxnType type) {
    transaction(r, type)
        .num(ETag_Amount, d.m_amount)
        .num(ETag_MerchIdx, d.m_merchIdx)
        .text(ETag_CurrCode, d.m_currCode, sizeof d.m_currCode)
        .num(ETag_AccNumber, d.m_accNumber);
}

void txnByInvoice(RequestBuilder& r, const CTransactData& d) {
    transaction(r, ETxnType_TxnByInvoice)
        .numIfSet(ETag_InvoiceNum, d.m_invoiceNum)
        .numIfSet(ETag_MerchIdx, d.m_merchIdx);
}

const SOperation kOperations[] = {
    {EThreadTask_Ping,
     [](RequestBuilder& r, const SRequestParams&) { r.num(ETag_MsgType, EMsgType_PingRequest); },
     false,
     {EMsgType_PingResponse}},
    {EThreadTask_Refund,
     [](RequestBuilder& r, const SRequestParams& p) {
         transaction(r, ETxnType_Refund)
             .num(ETag_Amount, p.data.m_amount)
             .text(ETag_RRN, p.data.m_rrn, sizeof p.data.m_rrn)
             .num(ETag_MerchIdx, p.data.m_merchIdx)
             .num(ETag_AddAmount, p.data.m_addAmount);
     },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_Void,
     [](RequestBuilder& r, const SRequestParams& p) {
         transaction(r, ETxnType_Void)
             .num(ETag_InvoiceNum, p.data.m_invoiceNum)
             .num(ETag_MerchIdx, p.data.m_merchIdx);
     },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_PurchaseService,
     [](RequestBuilder& r, const SRequestParams& p) {
         transaction(r, ETxnType_PurchaseService)
             .num(ETag_Amount, p.data.m_amount)
             .num(ETag_MerchIdx, p.data.m_merchIdx)
             .text(ETag_ServiceParams, p.data.m_serviceParams);
     },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_IdentifyCard,
     [](RequestBuilder& r, const SRequestParams& p) { balanceEnquiry(r, p.data); },
     false,
     {EMsgType_TxnResponse}},
    {EThreadTask_GetTxnDataByOrder,
     [](RequestBuilder& r, const SRequestParams& p) {
         transaction(r, ETxnType_TxnByOrder).numIfSet(ETag_OrderNum, p.data.m_orderNum);
     },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_GetTxnDataByInv,
     [](RequestBuilder& r, const SRequestParams& p) { txnByInvoice(r, p.data); },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_ReqReceiptByInv,
     [](RequestBuilder& r, const SRequestParams& p) {
         txnByInvoice(r, p.data);
         r.num(ETag_ReceiptFlag, 1);
     },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_Completion,
     [](RequestBuilder& r, const SRequestParams& p) {
         transaction(r, ETxnType_Completion)
             .num(ETag_Amount, p.data.m_amount)
             .num(ETag_InvoiceNum, p.data.m_invoiceNum)
             .text(ETag_RRN, p.data.m_rrn, sizeof p.data.m_rrn)
             .num(ETag_MerchIdx, p.data.m_merchIdx);
     },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_Balance,
     [](RequestBuilder& r, const SRequestParams& p) { balanceEnquiry(r, p.data); },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_Deposit,
     [](RequestBuilder& r, const SRequestParams& p) {
         moneyWithCurrency(r, p.data, ETxnType_Deposit);
     },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_CashAdvance,
     [](RequestBuilder& r, const SRequestParams& p) {
         moneyWithCurrency(r, p.data, ETxnType_CashAdvance);
     },
     true,
     {EMsgType_TxnResponse}},
    {EThreadTask_Settlement,
     [](RequestBuilder& r, const SRequestParams& p) {
         service(r, EServiceOp_Settlement).num(ETag_MerchIdx, p.data.m_merchIdx);
     },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_PrintBatchTotals,
     [](RequestBuilder& r, const SRequestParams& p) {
         service(r, EServiceOp_BatchTotals)
             .num(ETag_MerchIdx, p.data.m_merchIdx)
             .num(ETag_ReceiptFlag, 1);
     },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_GetBatchTotals,
     [](RequestBuilder& r, const SRequestParams& p) {
         service(r, EServiceOp_BatchTotals).numIfSet(ETag_MerchIdx, p.data.m_merchIdx);
     },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_GetTxnNum,
     [](RequestBuilder& r, const SRequestParams&) { service(r, EServiceOp_TxnNum); },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_CheckConnection,
     [](RequestBuilder& r, const SRequestParams& p) {
         service(r, EServiceOp_CheckConnection).numIfSet(ETag_MerchIdx, p.data.m_merchIdx);
     },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_PrintLastSettleCopy,
     [](RequestBuilder& r, const SRequestParams& p) {
         service(r, EServiceOp_LastSettleCopy).numIfSet(ETag_MerchIdx, p.data.m_merchIdx);
     },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_PrintBatchJournal,
     [](RequestBuilder& r, const SRequestParams& p) {
         service(r, EServiceOp_BatchJournal).numIfSet(ETag_MerchIdx, p.data.m_merchIdx);
     },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_POSGetInfo,
     [](RequestBuilder& r, const SRequestParams&) { service(r, EServiceOp_POSGetInfo); },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_POSExTransaction,
     [](RequestBuilder& r, const SRequestParams&) { service(r, EServiceOp_POSExTransaction); },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_SelectApp,
     [](RequestBuilder& r, const SRequestParams& p) {
         service(r, EServiceOp_SelectApp)
             .text(ETag_AppName, p.data.m_appName)
             .num(ETag_AppIdx, p.data.m_appIdx);
     },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_CloseApp,
     [](RequestBuilder& r, const SRequestParams&) { service(r, EServiceOp_CloseApp); },
     false,
     {EMsgType_ServiceResponse}},
    {EThreadTask_DisplayText,
     [](RequestBuilder& r, const SRequestParams& p) {
         std::size_t length = p.data.m_displayLen;
         if (length > sizeof p.data.m_displayBuf)
             length = sizeof p.data.m_displayBuf;
         termControl(r, ETermCmd_DisplayText)
             .num(ETag_Beep, p.data.m_beep)
             .bytes(ETag_DisplayData, p.data.m_displayBuf, length)
             .num(ETag_ScreenNumber, p.screenNumber);
     },
     false,
     {EMsgType_TermCtrlResponse}},
    {EThreadTask_ReadKey,
     [](RequestBuilder& r, const SRequestParams& p) {
         termControl(r, ETermCmd_ReadKey).num(ETag_KeyTimeout, p.data.m_timeOut);
     },
     false,
     {EMsgType_TermCtrlResponse}},
    {EThreadTask_ExchangeStatuses,
     [](RequestBuilder& r, const SRequestParams& p) {
         termControl(r, ETermCmd_ExchangeStatuses).num(ETag_Status, p.data.m_ecrStatus);
     },
     false,
     {EMsgType_TermCtrlResponse}},
    {EThreadTask_SetControlMode,
     [](RequestBuilder& r, const SRequestParams& p) {
         termControl(r, ETermCmd_SetControlMode).num(ETag_ControlMode, p.data.m_ctrlMode);
     },
     false,
     {EMsgType_TermCtrlResponse}},
    {EThreadTask_ReadCard,
     [](RequestBuilder& r, const SRequestParams&) {
         r.num(ETag_MsgType, EMsgType_ReadCardRequest);
     },
     false,
     {EMsgType_ReadCardResponse, EMsgType_ReadCardResponseEx}},
    {EThreadTask_ReadBankCard,
     [](RequestBuilder& r, const SRequestParams&) {
         r.num(ETag_MsgType, EMsgType_ReadBankCardRequest);
     },
     false,
     {EMsgType_ReadCardResponse, EMsgType_ReadCardResponseEx}},
};

const SOperation* findOperation(EThreadTask task) {
    for (const SOperation& operation : kOperations)
        if (operation.task == task)
            return &operation;
    return nullptr;
}

} // namespace

int CECRClient::runCatalogued(EThreadTask task) {
    const SOperation* operation = findOperation(task);
    if (operation == nullptr)
        return kNoOperation;
    clearCurrentMsg();
    SRequestParams params;
    {
        MutexLock lock(m_pMutex);
        params.data = m_transactData;
        params.screenNumber = m_screenNumber;
    }
    CTLVMessage msg;
    RequestBuilder builder(msg);
    operation->build(builder, params);
    if (operation->withExtras)
        builder.textIfSet(ETag_ExtraPrintData, params.data.m_extraPrintData)
            .textIfSet(ETag_ExtraXmlData, params.data.m_extraXmlData);
    int result = Run(msg);
    if (result != ECRC_OK)
        return result;
    MsgTypeSet types;
    for (unsigned type : operation->finalTypes)
        if (type != 0)
            types.insert(type);
    return ProcessFinish(types, msg);
}

int CECRClient::Ping() {
    return runCatalogued(EThreadTask_Ping);
}
