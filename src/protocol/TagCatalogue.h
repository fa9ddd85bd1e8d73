#pragma once

#include <cstddef>

// Tag numbers of the message elements exchanged with the terminal. Numbers
// 7, 19 to 22 and 28 are not used.
enum ETag {
    ETag_MsgType = 1,
    ETag_TxnType = 2,
    ETag_Amount = 3,
    ETag_PAN = 4,
    ETag_TerminalID = 5,
    ETag_MerchantID = 6,
    ETag_DateTime1 = 8,
    ETag_DateTime2 = 9,
    ETag_DateTime3 = 10,
    ETag_DateTime4 = 11,
    ETag_DateTime5 = 12,
    ETag_DateTime6 = 13,
    ETag_ResponseCode = 14,
    ETag_ResponseText = 15,
    ETag_AuthCode = 16,
    ETag_InvoiceNum = 17,
    ETag_RRN = 18,
    ETag_CardHolder = 23,
    ETag_ExpDate1 = 24,
    ETag_ExpDate2 = 25,
    ETag_IssuerName = 26,
    ETag_ServiceOp = 27,
    ETag_CryptedData = 29,
    ETag_StatMsgCode = 30,
    ETag_StatMsgDescription = 31,
    ETag_FlagAcquirer = 32,
    ETag_MerchIdx = 33,
    ETag_TotalsDebitNum = 34,
    ETag_TotalsDebitAmt = 35,
    ETag_TotalsCreditNum = 36,
    ETag_TotalsCreditAmt = 37,
    ETag_TotalsCancelledNum = 38,
    ETag_TotalsCancelledAmt = 39,
    ETag_SignVerif = 40,
    ETag_TxnNum = 41,
    ETag_OrderNum = 42,
    ETag_ResultTxnType = 43,
    ETag_Receipt = 44,
    ETag_AddAmount = 45,
    ETag_EmvAID = 46,
    ETag_ReceiptFlag = 47,
    ETag_DataKind = 48,
    ETag_AddResult = 49,
    ETag_EntryMode = 50,
    ETag_ControlMode = 51,
    ETag_TermCmd = 52,
    ETag_Key = 53,
    ETag_KeyTimeout = 54,
    ETag_Status = 55,
    ETag_Beep = 56,
    ETag_DisplayData = 57,
    ETag_Track3 = 58,
    ETag_CurrCode = 59,
    ETag_AccNumber = 60,
    ETag_ServiceParams = 61,
    ETag_TrnStatus = 62,
    ETag_Currency = 63,
    ETag_TrnBatchNum = 64,
    ETag_IdentifyCard = 65,
    ETag_RNK = 66,
    ETag_AddData = 67,
    ETag_TerminalInfo = 68,
    ETag_DiscountName = 69,
    ETag_DiscountAttribute = 70,
    ETag_ECRDataTM = 71,
    ETag_AppName = 72,
    ETag_AppIdx = 73,
    ETag_ScenarioID = 74,
    ETag_ExtraPrintData = 75,
    ETag_ScenarioData = 76,
    ETag_FileData = 77,
    ETag_ECRDataType = 78,
    ETag_ECRCommand = 79,
    ETag_ImageParams = 80,
    ETag_ScreenNumber = 81,
    ETag_ExtraXmlData = 82,
    ETag_CompletionInvoiceNum = 83,
    ETag_ExtraCardData = 84,
    ETag_DataFile = 85,
    ETag_PanHash = 86,
    ETag_SlipPrinted = 87,
};

// Message types, the values of ETag_MsgType. Requests go to the terminal;
// each is answered by status messages and then one final message.
enum EMsgType {
    EMsgType_TxnRequest = 1,
    EMsgType_TxnResponse = 2,
    EMsgType_ServiceRequest = 3,
    EMsgType_ServiceResponse = 4,
    EMsgType_ConfirmRequest = 5,
    EMsgType_ConfirmResponse = 6,
    EMsgType_ReadCardRequest = 7,
    EMsgType_ReadCardResponse = 8,
    EMsgType_ReadCardResponseEx = 10,
    EMsgType_PingRequest = 11,
    EMsgType_PingResponse = 12,
    EMsgType_StatusMessage = 13,
    EMsgType_FileRequest = 14,
    EMsgType_FileResponse = 15,
    EMsgType_TermCtrlRequest = 16,
    EMsgType_TermCtrlResponse = 17,
    EMsgType_SendFileRequest = 18,
    EMsgType_SendFileResponse = 19,
    EMsgType_ReadBankCardRequest = 20,
};

// Transaction types, the values of ETag_TxnType in a transaction request.
enum ETxnType {
    ETxnType_Purchase = 1,
    ETxnType_Refund = 10,
    ETxnType_Void = 11,
    ETxnType_TxnByInvoice = 12,
    ETxnType_TxnByOrder = 13,
    ETxnType_Completion = 15,
    ETxnType_Balance = 16,
    ETxnType_Deposit = 17,
    ETxnType_PurchaseService = 18,
    ETxnType_Correction = 19,
    ETxnType_CashAdvance = 20,
};

// Service operations, the values of ETag_ServiceOp in a service request.
enum EServiceOp {
    EServiceOp_Settlement = 1,
    EServiceOp_BatchTotals = 2,
    EServiceOp_TxnNum = 4,
    EServiceOp_CheckConnection = 5,
    EServiceOp_LastSettleCopy = 6,
    EServiceOp_BatchJournal = 7,
    EServiceOp_POSGetInfo = 8,
    EServiceOp_POSExTransaction = 9,
    EServiceOp_SelectApp = 10,
    EServiceOp_CloseApp = 11,
    EServiceOp_StartScenario = 12,
};

// Terminal-control sub-commands, the values of ETag_TermCmd.
enum ETermCmd {
    ETermCmd_DisplayText = 1,
    ETermCmd_ReadKey = 2,
    ETermCmd_ExchangeStatuses = 3,
    ETermCmd_SetControlMode = 4,
};

// What a tag's value holds. Number: 4 bytes, written big-endian, read
// little-endian. Byte: a number of which readers keep the low byte (sent
// widened to a number). Text: characters without terminator (CP1251 from the
// terminal). Binary: raw bytes. File: content assembled from numbered parts.
enum class ETagKind { Number, Byte, Text, Binary, File };

struct STagInfo {
    ETag tag;
    ETagKind kind;
    const char* name; // the tag's name without the ETag_ prefix
};

#define VELA_TAG_INFO(name, kind)                                                                  \
    { ETag_##name, ETagKind::kind, #name }

// Every tag with its value kind, in ascending tag order.
inline constexpr STagInfo kTagCatalogue[] = {
    VELA_TAG_INFO(MsgType, Number),
    VELA_TAG_INFO(TxnType, Number),
    VELA_TAG_INFO(Amount, Number),
    VELA_TAG_INFO(PAN, Text),
    VELA_TAG_INFO(TerminalID, Text),
    VELA_TAG_INFO(MerchantID, Text),
    VELA_TAG_INFO(DateTime1, Number),
    VELA_TAG_INFO(DateTime2, Number),
    VELA_TAG_INFO(DateTime3, Number),
    VELA_TAG_INFO(DateTime4, Number),
    VELA_TAG_INFO(DateTime5, Number),
    VELA_TAG_INFO(DateTime6, Number),
    VELA_TAG_INFO(ResponseCode, Number),
    VELA_TAG_INFO(ResponseText, Text),
    VELA_TAG_INFO(AuthCode, Text),
    VELA_TAG_INFO(InvoiceNum, Number),
    VELA_TAG_INFO(RRN, Text),
    VELA_TAG_INFO(CardHolder, Text),
    VELA_TAG_INFO(ExpDate1, Number),
    VELA_TAG_INFO(ExpDate2, Number),
    VELA_TAG_INFO(IssuerName, Text),
    VELA_TAG_INFO(ServiceOp, Number),
    VELA_TAG_INFO(CryptedData, Text),
    VELA_TAG_INFO(StatMsgCode, Byte),
    VELA_TAG_INFO(StatMsgDescription, Text),
    VELA_TAG_INFO(FlagAcquirer, Number),
    VELA_TAG_INFO(MerchIdx, Byte),
    VELA_TAG_INFO(TotalsDebitNum, Number),
    VELA_TAG_INFO(TotalsDebitAmt, Number),
    VELA_TAG_INFO(TotalsCreditNum, Number),
    VELA_TAG_INFO(TotalsCreditAmt, Number),
    VELA_TAG_INFO(TotalsCancelledNum, Number),
    VELA_TAG_INFO(TotalsCancelledAmt, Number),
    VELA_TAG_INFO(SignVerif, Byte),
    VELA_TAG_INFO(TxnNum, Number),
    VELA_TAG_INFO(OrderNum, Number),
    VELA_TAG_INFO(ResultTxnType, Byte),
    VELA_TAG_INFO(Receipt, File),
    VELA_TAG_INFO(AddAmount, Number),
    VELA_TAG_INFO(EmvAID, Text),
    VELA_TAG_INFO(ReceiptFlag, Number),
    VELA_TAG_INFO(DataKind, Number),
    VELA_TAG_INFO(AddResult, Number),
    VELA_TAG_INFO(EntryMode, Byte),
    VELA_TAG_INFO(ControlMode, Byte),
    VELA_TAG_INFO(TermCmd, Number),
    VELA_TAG_INFO(Key, Byte),
    VELA_TAG_INFO(KeyTimeout, Byte),
    VELA_TAG_INFO(Status, Byte),
    VELA_TAG_INFO(Beep, Byte),
    VELA_TAG_INFO(DisplayData, Binary),
    VELA_TAG_INFO(Track3, Text),
    VELA_TAG_INFO(CurrCode, Text),
    VELA_TAG_INFO(AccNumber, Byte),
    VELA_TAG_INFO(ServiceParams, Text),
    VELA_TAG_INFO(TrnStatus, Byte),
    VELA_TAG_INFO(Currency, Text),
    VELA_TAG_INFO(TrnBatchNum, Number),
    VELA_TAG_INFO(IdentifyCard, Byte),
    VELA_TAG_INFO(RNK, Text),
    VELA_TAG_INFO(AddData, Text),
    VELA_TAG_INFO(TerminalInfo, Text),
    VELA_TAG_INFO(DiscountName, Text),
    VELA_TAG_INFO(DiscountAttribute, Number),
    VELA_TAG_INFO(ECRDataTM, Text),
    VELA_TAG_INFO(AppName, Text),
    VELA_TAG_INFO(AppIdx, Number),
    VELA_TAG_INFO(ScenarioID, Number),
    VELA_TAG_INFO(ExtraPrintData, Text),
    VELA_TAG_INFO(ScenarioData, Text),
    VELA_TAG_INFO(FileData, Binary),
    VELA_TAG_INFO(ECRDataType, Byte),
    VELA_TAG_INFO(ECRCommand, Byte),
    VELA_TAG_INFO(ImageParams, Binary),
    VELA_TAG_INFO(ScreenNumber, Number),
    VELA_TAG_INFO(ExtraXmlData, Text),
    VELA_TAG_INFO(CompletionInvoiceNum, Number),
    VELA_TAG_INFO(ExtraCardData, Text),
    VELA_TAG_INFO(DataFile, File),
    VELA_TAG_INFO(PanHash, Text),
    VELA_TAG_INFO(SlipPrinted, Byte),
};

#undef VELA_TAG_INFO

constexpr bool isCatalogueAscending() {
    for (std::size_t i = 1; i < sizeof kTagCatalogue / sizeof kTagCatalogue[0]; ++i)
        if (kTagCatalogue[i - 1].tag >= kTagCatalogue[i].tag)
            return false;
    return true;
}
static_assert(isCatalogueAscending(), "one catalogue entry per tag, in ascending order");

// The catalogue entry of a tag number, or null for a number not in use.
constexpr const STagInfo* findTagInfo(unsigned tag) {
    for (const STagInfo& info : kTagCatalogue)
        if (static_cast<unsigned>(info.tag) == tag)
            return &info;
    return nullptr;
}

// "number", "byte", "text", "binary" or "file".
constexpr const char* tagKindName(ETagKind kind) {
    switch (kind) {
    case ETagKind::Number:
        return "number";
    case ETagKind::Byte:
        return "byte";
    case ETagKind::Text:
        return "text";
    case ETagKind::Binary:
        return "binary";
    case ETagKind::File:
        return "file";
    }
    return "unknown";
}
