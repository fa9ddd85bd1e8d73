#pragma once

// Tag numbers and codes as the emulated terminal knows them. Kept apart from
// the library's own catalogue on purpose: a test peer that borrowed the
// library's constants could not catch a wrong one.

#include <cstdint>

namespace velaemu {
namespace tag {
const std::uint32_t MsgType = 1, TxnType = 2, Amount = 3, PAN = 4, TerminalID = 5, MerchantID = 6,
                    DateDay = 8, DateMonth = 9, DateYear = 10, TimeHour = 11, TimeMinute = 12,
                    TimeSecond = 13, ResponseCode = 14, ResponseText = 15, AuthCode = 16,
                    InvoiceNum = 17, RRN = 18, CardHolder = 23, ExpYear = 24, ExpMonth = 25,
                    IssuerName = 26, ServiceOp = 27, CryptedData = 29, StatMsgCode = 30,
                    StatMsgText = 31, FlagAcquirer = 32, MerchIdx = 33, DebitNum = 34,
                    DebitAmt = 35, CreditNum = 36, CreditAmt = 37, CancelledNum = 38,
                    CancelledAmt = 39, SignVerif = 40, TxnNum = 41, OrderNum = 42,
                    ResultTxnType = 43, Receipt = 44, AddAmount = 45, EmvAID = 46, ReceiptFlag = 47,
                    DataKind = 48, AddResult = 49, EntryMode = 50, ControlMode = 51, TermCmd = 52,
                    Key = 53, KeyTimeout = 54, Status = 55, Track3 = 58, CurrCode = 59,
                    TrnStatus = 62, Currency = 63, TrnBatchNum = 64, IdentifyCard = 65, RNK = 66,
                    AddData = 67, TerminalInfo = 68, DiscountName = 69, DiscountAttribute = 70,
                    ECRDataTM = 71, ScenarioData = 76, FileData = 77, CompletionInvoiceNum = 83,
                    ExtraCardData = 84, DataFile = 85, PanHash = 86, SlipPrinted = 87;
} // namespace tag

namespace msg {
const std::uint32_t TxnRequest = 1, TxnResponse = 2, ServiceRequest = 3, ServiceResponse = 4,
                    ConfirmRequest = 5, ConfirmResponse = 6, ReadCardRequest = 7,
                    ReadCardResponse = 8, ReadCardResponseEx = 10, PingRequest = 11,
                    PingResponse = 12, Status = 13, FileRequest = 14, FileResponse = 15,
                    TermCtrlRequest = 16, TermCtrlResponse = 17, SendFileRequest = 18,
                    SendFileResponse = 19, ReadBankCardRequest = 20;
} // namespace msg

namespace txn {
const std::uint32_t Purchase = 1, Refund = 10, Void = 11, ByInvoice = 12, ByOrder = 13,
                    Completion = 15, Balance = 16, Deposit = 17, PurchaseService = 18,
                    Correction = 19, CashAdvance = 20;
} // namespace txn

namespace service {
const std::uint32_t Settlement = 1, BatchTotals = 2, TxnNum = 4, CheckConnection = 5,
                    LastSettleCopy = 6, BatchJournal = 7, POSGetInfo = 8, POSExTransaction = 9,
                    SelectApp = 10, CloseApp = 11, StartScenario = 12;
} // namespace service

namespace termcmd {
const std::uint32_t DisplayText = 1, ReadKey = 2, ExchangeStatuses = 3, SetControlMode = 4;
} // namespace termcmd
} // namespace velaemu
