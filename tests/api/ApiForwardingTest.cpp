// The exported C functions against a scripted client placed in glVELALib:
// every function reaches the method it names with its arguments unchanged,
// and each result form folds codes and values as the header says.
#include "ScriptedClient.h"
#include "velaecr.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

char gText[] = "text";
char gBuffer[409601];
int gLength = 0;

struct Forwarding {
    const char* function;
    std::function<int()> invoke;
    const char* expectedCall;
};

const std::vector<Forwarding>& forwardingTable() {
    static const std::vector<Forwarding> table = {
        {"VELALib_CommOpen", [] { return VELALib_CommOpen("t1", 2007); }, "CommOpen(t1,2007)"},
        {"VELALib_CommOpenTCP", [] { return VELALib_CommOpenTCP("t1", "t2"); },
         "CommOpenTCP(t1,t2)"},
        {"VELALib_CommOpenAuto", [] { return VELALib_CommOpenAuto(1007); }, "CommOpenAuto(1007)"},
        {"VELALib_CommClose", [] { return VELALib_CommClose(); }, "CommClose()"},
        {"VELALib_UseMac", [] { return VELALib_UseMac(11, "t2"); }, "UseMac(11,t2)"},
        {"VELALib_Confirm", [] { return VELALib_Confirm(); }, "Confirm()"},
        {"VELALib_Cancel", [] { return VELALib_Cancel(); }, "Cancel()"},
        {"VELALib_Ping", [] { return VELALib_Ping(); }, "Ping()"},
        {"VELALib_CheckTerminal", [] { return VELALib_CheckTerminal(); }, "CheckTerminal()"},
        {"VELALib_SetErrorLang", [] { return VELALib_SetErrorLang(11); }, "SetErrorLang(11)"},
        {"VELALib_useLogging", [] { return VELALib_useLogging(11, "t2"); }, "useLogging(11,t2)"},
        {"VELALib_Purchase", [] { return VELALib_Purchase(1007, 2007, 13); },
         "Purchase(1007,2007,13)"},
        {"VELALib_Refund", [] { return VELALib_Refund(1007, 2007, 13, gText); },
         "Refund(1007,2007,13,text)"},
        {"VELALib_Void", [] { return VELALib_Void(1007, 12); }, "Void(1007,12)"},
        {"VELALib_Settlement", [] { return VELALib_Settlement(11); }, "Settlement(11)"},
        {"VELALib_PrintBatchTotals", [] { return VELALib_PrintBatchTotals(11); },
         "PrintBatchTotals(11)"},
        {"VELALib_PurchaseService", [] { return VELALib_PurchaseService(11, 2007, gText); },
         "PurchaseService(11,2007,text)"},
        {"VELALib_IdentifyCard", [] { return VELALib_IdentifyCard(11, gText, 13); },
         "IdentifyCard(11,text,13)"},
        {"VELALib_GetTxnNum", [] { return VELALib_GetTxnNum(); }, "GetTxnNum()"},
        {"VELALib_GetTxnDataByOrder", [] { return VELALib_GetTxnDataByOrder(1007); },
         "GetTxnDataByOrder(1007)"},
        {"VELALib_GetTxnDataByInv", [] { return VELALib_GetTxnDataByInv(1007, 12); },
         "GetTxnDataByInv(1007,12)"},
        {"VELALib_GetBatchTotals", [] { return VELALib_GetBatchTotals(11); }, "GetBatchTotals(11)"},
        {"VELALib_CheckConnection", [] { return VELALib_CheckConnection(11); },
         "CheckConnection(11)"},
        {"VELALib_ReqCurrReceipt", [] { return VELALib_ReqCurrReceipt(); }, "ReqCurrReceipt()"},
        {"VELALib_PrintLastSettleCopy", [] { return VELALib_PrintLastSettleCopy(11); },
         "PrintLastSettleCopy(11)"},
        {"VELALib_PrintBatchJournal", [] { return VELALib_PrintBatchJournal(11); },
         "PrintBatchJournal(11)"},
        {"VELALib_ReqReceiptByInv", [] { return VELALib_ReqReceiptByInv(1007, 12); },
         "ReqReceiptByInv(1007,12)"},
        {"VELALib_SetControlMode", [] { return VELALib_SetControlMode(true); },
         "SetControlMode(1)"},
        {"VELALib_ReadKey", [] { return VELALib_ReadKey(11); }, "ReadKey(11)"},
        {"VELALib_DisplayText", [] { return VELALib_DisplayText(11); }, "DisplayText(11)"},
        {"VELALib_SetLine", [] { return VELALib_SetLine(11, 12, "t3", 14); },
         "SetLine(11,12,t3,14)"},
        {"VELALib_ExchangeStatuses", [] { return VELALib_ExchangeStatuses(11); },
         "ExchangeStatuses(11)"},
        {"VELALib_Completion", [] { return VELALib_Completion(11, 2007, "t3", 4007); },
         "Completion(11,2007,t3,4007)"},
        {"VELALib_ReadCard", [] { return VELALib_ReadCard(); }, "ReadCard()"},
        {"VELALib_Balance", [] { return VELALib_Balance(11, "t2", 13); }, "Balance(11,t2,13)"},
        {"VELALib_Deposit", [] { return VELALib_Deposit(11, 2007, "t3", 14); },
         "Deposit(11,2007,t3,14)"},
        {"VELALib_POSGetInfo", [] { return VELALib_POSGetInfo(); }, "POSGetInfo()"},
        {"VELALib_POSExTransaction", [] { return VELALib_POSExTransaction(); },
         "POSExTransaction()"},
        {"VELALib_SelectApp", [] { return VELALib_SelectApp("t1", 2007); }, "SelectApp(t1,2007)"},
        {"VELALib_CloseApp", [] { return VELALib_CloseApp(); }, "CloseApp()"},
        {"VELALib_StartScenario", [] { return VELALib_StartScenario(1007, "t2"); },
         "StartScenario(1007,t2)"},
        {"VELALib_SetExtraPrintData", [] { return VELALib_SetExtraPrintData("t1"); },
         "SetExtraPrintData(t1)"},
        {"VELALib_SetExtraXmlData", [] { return VELALib_SetExtraXmlData("t1"); },
         "SetExtraXmlData(t1)"},
        {"VELALib_SendFile", [] { return VELALib_SendFile("t1", 12, 13); }, "SendFile(t1,12,13)"},
        {"VELALib_SetScreen", [] { return VELALib_SetScreen(1007); }, "SetScreen(1007)"},
        {"VELALib_CorrectTransaction", [] { return VELALib_CorrectTransaction(1007, 2007); },
         "CorrectTransaction(1007,2007)"},
        {"VELALib_CashAdvance", [] { return VELALib_CashAdvance(11, 2007, "t3", 14); },
         "CashAdvance(11,2007,t3,14)"},
        {"VELALib_ReadBankCard", [] { return VELALib_ReadBankCard(); }, "ReadBankCard()"},
        {"VELALib_ReqDataFile", [] { return VELALib_ReqDataFile(); }, "ReqDataFile()"},
        {"VELALib_LastResult", [] { return VELALib_LastResult(); }, "get_LastResult()"},
        {"VELALib_LastErrorCode", [] { return VELALib_LastErrorCode(); }, "get_LastErrorCode()"},
        {"VELALib_TxnType", [] { return VELALib_TxnType(); }, "get_TxnType()"},
        {"VELALib_LastStatMsgCode", [] { return VELALib_LastStatMsgCode(); },
         "get_LastStatMsgCode()"},
        {"VELALib_SignVerif", [] { return VELALib_SignVerif(); }, "get_SignVerif()"},
        {"VELALib_EntryMode", [] { return VELALib_EntryMode(); }, "get_EntryMode()"},
        {"VELALib_TermStatus", [] { return VELALib_TermStatus(); }, "get_TermStatus()"},
        {"VELALib_Key", [] { return VELALib_Key(); }, "get_Key()"},
        {"VELALib_TrnStatus", [] { return VELALib_TrnStatus(); }, "get_TrnStatus()"},
        {"VELALib_SlipPrinted", [] { return VELALib_SlipPrinted(); }, "get_SlipPrinted()"},
        {"VELALib_ResponseCode", [] { return VELALib_ResponseCode(); }, "get_ResponseCode()"},
        {"VELALib_InvoiceNum", [] { return VELALib_InvoiceNum(); }, "get_InvoiceNum()"},
        {"VELALib_TotalsDebitAmt", [] { return VELALib_TotalsDebitAmt(); }, "get_TotalsDebitAmt()"},
        {"VELALib_TotalsDebitNum", [] { return VELALib_TotalsDebitNum(); }, "get_TotalsDebitNum()"},
        {"VELALib_TotalsCreditAmt", [] { return VELALib_TotalsCreditAmt(); },
         "get_TotalsCreditAmt()"},
        {"VELALib_TotalsCreditNum", [] { return VELALib_TotalsCreditNum(); },
         "get_TotalsCreditNum()"},
        {"VELALib_TotalsCancelledAmt", [] { return VELALib_TotalsCancelledAmt(); },
         "get_TotalsCancelledAmt()"},
        {"VELALib_TotalsCancelledNum", [] { return VELALib_TotalsCancelledNum(); },
         "get_TotalsCancelledNum()"},
        {"VELALib_TxnNum", [] { return VELALib_TxnNum(); }, "get_TxnNum()"},
        {"VELALib_Amount", [] { return VELALib_Amount(); }, "get_Amount()"},
        {"VELALib_AddAmount", [] { return VELALib_AddAmount(); }, "get_AddAmount()"},
        {"VELALib_TrnBatchNum", [] { return VELALib_TrnBatchNum(); }, "get_TrnBatchNum()"},
        {"VELALib_DiscountAttribute", [] { return VELALib_DiscountAttribute(); },
         "get_DiscountAttribute()"},
        {"VELALib_FlagAcquirer", [] { return VELALib_FlagAcquirer(); }, "get_FlagAcquirer()"},
        {"VELALib_DateTime", [] { return VELALib_DateTime(gBuffer); }, "get_DateTime(128)"},
        {"VELALib_RRN", [] { return VELALib_RRN(gBuffer); }, "get_RRN(128)"},
        {"VELALib_TerminalID", [] { return VELALib_TerminalID(gBuffer); }, "get_TerminalID(128)"},
        {"VELALib_MerchantID", [] { return VELALib_MerchantID(gBuffer); }, "get_MerchantID(128)"},
        {"VELALib_AuthCode", [] { return VELALib_AuthCode(gBuffer); }, "get_AuthCode(128)"},
        {"VELALib_LastErrorDescription", [] { return VELALib_LastErrorDescription(gBuffer); },
         "get_LastErrorDescription(128)"},
        {"VELALib_LastStatMsgDescription", [] { return VELALib_LastStatMsgDescription(gBuffer); },
         "get_LastStatMsgDescription(128)"},
        {"VELALib_PAN", [] { return VELALib_PAN(gBuffer); }, "get_PAN(128)"},
        {"VELALib_ExpDate", [] { return VELALib_ExpDate(gBuffer); }, "get_ExpDate(128)"},
        {"VELALib_CardHolder", [] { return VELALib_CardHolder(gBuffer); }, "get_CardHolder(128)"},
        {"VELALib_IssueName", [] { return VELALib_IssueName(gBuffer); }, "get_IssuerName(128)"},
        {"VELALib_emvAID", [] { return VELALib_emvAID(gBuffer); }, "get_emvAID(128)"},
        {"VELALib_Track3", [] { return VELALib_Track3(gBuffer); }, "get_Track3(128)"},
        {"VELALib_Currency", [] { return VELALib_Currency(gBuffer); }, "get_Currency(128)"},
        {"VELALib_RNK", [] { return VELALib_RNK(gBuffer); }, "get_RNK(128)"},
        {"VELALib_CurrencyCode", [] { return VELALib_CurrencyCode(gBuffer); },
         "get_CurrencyCode(128)"},
        {"VELALib_DiscountName", [] { return VELALib_DiscountName(gBuffer); },
         "get_DiscountName(128)"},
        {"VELALib_ECRDataTM", [] { return VELALib_ECRDataTM(gBuffer); }, "get_ECRDataTM(128)"},
        {"VELALib_LibraryVersion", [] { return VELALib_LibraryVersion(gBuffer); },
         "get_LibraryVersion(128)"},
        {"VELALib_PanHash", [] { return VELALib_PanHash(gBuffer); }, "get_PanHash(128)"},
        {"VELALib_Receipt", [] { return VELALib_Receipt(gBuffer); }, "get_Receipt(4096)"},
        {"VELALib_AddData", [] { return VELALib_AddData(gBuffer); }, "get_AddData(999)"},
        {"VELALib_TerminalInfo", [] { return VELALib_TerminalInfo(gBuffer); },
         "get_TeminalInfo(1200)"},
        {"VELALib_ScenarioData", [] { return VELALib_ScenarioData(gBuffer); },
         "get_ScenarioData(999)"},
        {"VELALib_CryptedData", [] { return VELALib_CryptedData(gBuffer); },
         "get_CryptedData(999)"},
        {"VELALib_ExtraCardData", [] { return VELALib_ExtraCardData(gBuffer); },
         "get_ExtraCardData(300)"},
        {"VELALib_DataFile", [] { return VELALib_DataFile(gBuffer); }, "get_DataFile(204800)"},
        {"VELALib_DataFileBinary", [] { return VELALib_DataFileBinary(gBuffer, &gLength); },
         "get_DataFileBinary(204800)"},
    };
    return table;
}

class ScriptedApi : public ::testing::Test {
protected:
    void SetUp() override { glVELALib = &client; }
    void TearDown() override { glVELALib = nullptr; }
    ScriptedClient client;
};

TEST(NoInstance, EveryFormReturnsMinusOneAndTouchesNothing) {
    ASSERT_EQ(glVELALib, nullptr);
    EXPECT_EQ(VELALib_UninitializeVELA(), 0);
    for (const Forwarding& row : forwardingTable())
        EXPECT_EQ(row.invoke(), -1) << row.function;

    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    int length = 77;
    EXPECT_EQ(VELALib_Receipt(buffer), -1);
    EXPECT_EQ(VELALib_DataFileBinary(buffer, &length), -1);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, 'x'));
    EXPECT_EQ(length, 77);
}

TEST_F(ScriptedApi, EveryFunctionReachesItsMethodWithItsArguments) {
    ASSERT_EQ(forwardingTable().size(), 101u); // all but the two life-cycle calls
    for (const Forwarding& row : forwardingTable()) {
        client.lastCall.clear();
        row.invoke();
        EXPECT_EQ(client.lastCall, row.expectedCall) << row.function;
    }
}

TEST_F(ScriptedApi, FailuresComeBackAsMinusTheCode) {
    client.code = 7;
    for (const Forwarding& row : forwardingTable())
        EXPECT_EQ(row.invoke(), -7) << row.function;
}

TEST_F(ScriptedApi, ExceptionsNeverReachTheCaller) {
    client.throws = true;
    for (const Forwarding& row : forwardingTable())
        EXPECT_EQ(row.invoke(), -1) << row.function;
}

TEST_F(ScriptedApi, ByteAndNumberValuesComeBackAsTheResult) {
    client.byteValue = 255;
    EXPECT_EQ(VELALib_TxnType(), 255);
    client.numberValue = 123456;
    EXPECT_EQ(VELALib_Amount(), 123456);
    client.numberValue = 0x80000000u; // documented: large values come back negative
    EXPECT_EQ(VELALib_Amount(), INT_MIN);
}

TEST_F(ScriptedApi, TextOfExactlyItsCapacityComesBackWholeAndTerminated) {
    struct Case {
        int (*function)(char*);
        std::size_t capacity;
    };
    const Case cases[] = {{VELALib_RRN, 128}, {VELALib_Receipt, 4096}, {VELALib_DataFile, 204800}};
    for (const Case& c : cases) {
        client.value.assign(c.capacity, 'A');
        std::memset(gBuffer, 'x', sizeof gBuffer);
        ASSERT_EQ(c.function(gBuffer), 0) << c.capacity;
        EXPECT_EQ(std::strlen(gBuffer), c.capacity);
        EXPECT_EQ(std::string(gBuffer), client.value);
    }
}

TEST_F(ScriptedApi, Cp1251TextComesBackAsUtf8) {
    client.value = "Sum \xcf\xf0\xe8\xe2\xb3\xf2 \xb9"; // "Sum Привіт №" in CP1251
    char buffer[257];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_EQ(VELALib_CardHolder(buffer), 0);
    EXPECT_STREQ(buffer, "Sum \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd1\x96\xd1\x82 \xe2\x84\x96");
    // The room is 2 bytes per input byte: a second three-byte sign does not
    // fit, and the conversion stops before it, terminated.
    client.value = "\xb9\xb9";
    ASSERT_EQ(VELALib_CardHolder(buffer), 0);
    EXPECT_STREQ(buffer, "\xe2\x84\x96");
}

TEST_F(ScriptedApi, FailedTextLeavesOnlyTheDocumentedClearing) {
    client.code = 8;
    struct Case {
        int (*function)(char*);
        std::size_t cleared;
    };
    const Case cases[] = {
        {VELALib_RRN, 0}, {VELALib_PAN, 20}, {VELALib_ExpDate, 5}, {VELALib_ExtraCardData, 300}};
    for (const Case& c : cases) {
        std::memset(gBuffer, 'x', 400);
        ASSERT_EQ(c.function(gBuffer), -8);
        EXPECT_EQ(std::string(gBuffer, c.cleared), std::string(c.cleared, '\0')) << c.cleared;
        EXPECT_EQ(gBuffer[c.cleared], 'x') << c.cleared;
    }
}

TEST_F(ScriptedApi, DataFileBinaryStoresTheLengthOnlyOnSuccess) {
    client.value = std::string("a\0b", 3);
    char buffer[8] = {};
    int length = -3;
    ASSERT_EQ(VELALib_DataFileBinary(buffer, &length), 0);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(std::string(buffer, 3), client.value);

    client.code = 8;
    length = -3;
    EXPECT_EQ(VELALib_DataFileBinary(buffer, &length), -8);
    EXPECT_EQ(length, -3);
}

TEST_F(ScriptedApi, NullOutputPointersAreRefused) {
    int length = 5;
    EXPECT_EQ(VELALib_RRN(nullptr), -1);
    EXPECT_EQ(VELALib_DataFileBinary(nullptr, &length), -1);
    EXPECT_EQ(VELALib_DataFileBinary(gBuffer, nullptr), -1);
    EXPECT_EQ(length, 5);
}

} // namespace
