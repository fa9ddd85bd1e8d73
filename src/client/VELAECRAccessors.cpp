// Result-field accessors. The current result message cannot be read yet
// (its element types arrive with the message format), so every field reports
// that no data is available, without recording it as the last result.
#include "client/VELAECRClient.h"

int CVELAECRClient::get_ResponseCode(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_DateTime(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_RRN(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TxnType(unsigned char&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TerminalID(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_MerchantID(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_AuthCode(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_LastErrorDescription(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_LastStatMsgCode(unsigned char&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_LastStatMsgDescription(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_PAN(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_ExpDate(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_CardHolder(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_IssuerName(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_InvoiceNum(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_CompletionInvoiceNum(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TotalsDebitAmt(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TotalsDebitNum(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TotalsCreditAmt(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TotalsCreditNum(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TotalsCancelledAmt(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TotalsCancelledNum(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_SignVerif(unsigned char&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_Receipt(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_emvAID(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_EntryMode(unsigned char&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TxnNum(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_Amount(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_AddAmount(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TermStatus(unsigned char&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_Key(unsigned char&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_Track3(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TrnStatus(unsigned char&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_Currency(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TrnBatchNum(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_RNK(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_CurrencyCode(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_AddData(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TeminalInfo(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_DiscountName(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_DiscountAttribute(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_ECRDataTM(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_ScenarioData(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_FlagAcquirer(unsigned int&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_CryptedData(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_ExtraCardData(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_DataFile(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_DataFileBinary(char*, int&, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_PanHash(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_SlipPrinted(unsigned char&) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_TerminalInfo(char*, int) {
    return ECRC_NODATA;
}
int CVELAECRClient::get_CardNumber(char*, int) {
    return ECRC_NODATA;
}
