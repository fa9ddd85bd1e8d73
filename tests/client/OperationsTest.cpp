// The operation entry points: guard, busy worker, refused arguments, what
// each stores for the worker, the screen block and the extra data.
#include "FacadeTestClient.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

char gRrn[] = "RRN123456789";
char gParams[] = "params";
char gCurrency[] = "980";

struct Operation {
    const char* name;
    std::function<int(CVELAECRClient&)> call; // every argument non-zero
    EThreadTask task;
    std::function<void(const CTransactData&, FacadeTestClient&)> checkStored;
};

const std::vector<Operation>& operations() {
    static const std::vector<Operation> table = {
        {"Purchase", [](CVELAECRClient& c) { return c.Purchase(1001, 2002, 3); },
         EThreadTask_Purchase,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_amount, 1001u);
             EXPECT_EQ(d.m_addAmount, 2002u);
             EXPECT_EQ(d.m_merchIdx, 3);
         }},
        {"Refund", [](CVELAECRClient& c) { return c.Refund(1001, 2002, 3, gRrn); },
         EThreadTask_Refund,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_amount, 1001u);
             EXPECT_EQ(d.m_addAmount, 2002u);
             EXPECT_EQ(d.m_merchIdx, 3);
             EXPECT_EQ(std::string(d.m_rrn, 13), std::string("RRN123456789", 13));
         }},
        {"Void", [](CVELAECRClient& c) { return c.Void(5, 3); }, EThreadTask_Void,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_invoiceNum, 5u);
             EXPECT_EQ(d.m_merchIdx, 3);
         }},
        {"Settlement", [](CVELAECRClient& c) { return c.Settlement(3); }, EThreadTask_Settlement,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_merchIdx, 3); }},
        {"PrintBatchTotals", [](CVELAECRClient& c) { return c.PrintBatchTotals(3); },
         EThreadTask_PrintBatchTotals,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_merchIdx, 3); }},
        {"PurchaseService", [](CVELAECRClient& c) { return c.PurchaseService(3, 1001, gParams); },
         EThreadTask_PurchaseService,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_merchIdx, 3);
             EXPECT_EQ(d.m_amount, 1001u);
             EXPECT_EQ(d.m_serviceParams, "params");
         }},
        {"IdentifyCard", [](CVELAECRClient& c) { return c.IdentifyCard(3, gCurrency, 4); },
         EThreadTask_IdentifyCard,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_merchIdx, 3);
             EXPECT_EQ(d.m_identifyCard, 1);
             EXPECT_EQ(std::string(d.m_currCode, 4), std::string("980", 4));
             EXPECT_EQ(d.m_accNumber, 4);
         }},
        {"GetTxnNum", [](CVELAECRClient& c) { return c.GetTxnNum(); }, EThreadTask_GetTxnNum,
         nullptr},
        {"GetTxnDataByOrder", [](CVELAECRClient& c) { return c.GetTxnDataByOrder(6); },
         EThreadTask_GetTxnDataByOrder,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_orderNum, 6u); }},
        {"GetTxnDataByInv", [](CVELAECRClient& c) { return c.GetTxnDataByInv(5, 3); },
         EThreadTask_GetTxnDataByInv,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_invoiceNum, 5u);
             EXPECT_EQ(d.m_merchIdx, 3);
         }},
        {"GetBatchTotals", [](CVELAECRClient& c) { return c.GetBatchTotals(3); },
         EThreadTask_GetBatchTotals,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_merchIdx, 3); }},
        {"CheckConnection", [](CVELAECRClient& c) { return c.CheckConnection(3); },
         EThreadTask_CheckConnection,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_merchIdx, 3); }},
        {"ReqCurrReceipt", [](CVELAECRClient& c) { return c.ReqCurrReceipt(); },
         EThreadTask_ReqCurrReceipt, nullptr},
        {"PrintLastSettleCopy", [](CVELAECRClient& c) { return c.PrintLastSettleCopy(3); },
         EThreadTask_PrintLastSettleCopy,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_merchIdx, 3); }},
        {"PrintBatchJournal", [](CVELAECRClient& c) { return c.PrintBatchJournal(3); },
         EThreadTask_PrintBatchJournal,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_merchIdx, 3); }},
        {"ReqReceiptByInv", [](CVELAECRClient& c) { return c.ReqReceiptByInv(5, 3); },
         EThreadTask_ReqReceiptByInv,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_invoiceNum, 5u);
             EXPECT_EQ(d.m_merchIdx, 3);
         }},
        {"SetControlMode", [](CVELAECRClient& c) { return c.SetControlMode(true); },
         EThreadTask_SetControlMode,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_ctrlMode, 1); }},
        {"ReadKey", [](CVELAECRClient& c) { return c.ReadKey(30); }, EThreadTask_ReadKey,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_timeOut, 30); }},
        {"DisplayText", [](CVELAECRClient& c) { return c.DisplayText(1); }, EThreadTask_DisplayText,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_beep, 1); }},
        {"ExchangeStatuses", [](CVELAECRClient& c) { return c.ExchangeStatuses(2); },
         EThreadTask_ExchangeStatuses,
         [](const CTransactData& d, FacadeTestClient&) { EXPECT_EQ(d.m_ecrStatus, 2); }},
        {"Completion", [](CVELAECRClient& c) { return c.Completion(3, 1001, "RRN9", 7); },
         EThreadTask_Completion,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_merchIdx, 3);
             EXPECT_EQ(d.m_amount, 1001u);
             EXPECT_STREQ(d.m_rrn, "RRN9");
             EXPECT_EQ(d.m_invoiceNum, 7u);
         }},
        {"ReadCard", [](CVELAECRClient& c) { return c.ReadCard(); }, EThreadTask_ReadCard, nullptr},
        {"Balance", [](CVELAECRClient& c) { return c.Balance(3, "840", 4); }, EThreadTask_Balance,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_identifyCard, 0);
             EXPECT_STREQ(d.m_currCode, "840");
             EXPECT_EQ(d.m_merchIdx, 3);
             EXPECT_EQ(d.m_accNumber, 4);
         }},
        {"Deposit", [](CVELAECRClient& c) { return c.Deposit(3, 1001, "840", 4); },
         EThreadTask_Deposit,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_STREQ(d.m_currCode, "840");
             EXPECT_EQ(d.m_merchIdx, 3);
             EXPECT_EQ(d.m_amount, 1001u);
             EXPECT_EQ(d.m_accNumber, 4);
         }},
        {"POSGetInfo", [](CVELAECRClient& c) { return c.POSGetInfo(); }, EThreadTask_POSGetInfo,
         nullptr},
        {"POSExTransaction", [](CVELAECRClient& c) { return c.POSExTransaction(); },
         EThreadTask_POSExTransaction, nullptr},
        {"SelectApp", [](CVELAECRClient& c) { return c.SelectApp("app", 8); },
         EThreadTask_SelectApp,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_appName, "app");
             EXPECT_EQ(d.m_appIdx, 8u);
         }},
        {"CloseApp", [](CVELAECRClient& c) { return c.CloseApp(); }, EThreadTask_CloseApp, nullptr},
        {"StartScenario", [](CVELAECRClient& c) { return c.StartScenario(9, "data"); },
         EThreadTask_StartScenario,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_EQ(d.m_scenarioID, 9u);
             EXPECT_EQ(d.m_scenarioData, "data");
         }},
        {"SendFile", [](CVELAECRClient& c) { return c.SendFile("/tmp/f.bmp", 2, 3); },
         EThreadTask_SendFile,
         [](const CTransactData& d, FacadeTestClient& client) {
             EXPECT_EQ(d.m_fullPath, "/tmp/f.bmp");
             EXPECT_EQ(client.m_ecrDataType, 2);
             EXPECT_EQ(client.m_ecrCommand, 3);
         }},
        {"CashAdvance", [](CVELAECRClient& c) { return c.CashAdvance(3, 1001, "840", 4); },
         EThreadTask_CashAdvance,
         [](const CTransactData& d, FacadeTestClient&) {
             EXPECT_STREQ(d.m_currCode, "840");
             EXPECT_EQ(d.m_merchIdx, 3);
             EXPECT_EQ(d.m_amount, 1001u);
             EXPECT_EQ(d.m_accNumber, 4);
         }},
        {"ReadBankCard", [](CVELAECRClient& c) { return c.ReadBankCard(); },
         EThreadTask_ReadBankCard, nullptr},
        {"ReqDataFile", [](CVELAECRClient& c) { return c.ReqDataFile(); }, EThreadTask_ReqDataFile,
         nullptr},
    };
    return table;
}

// Nothing an operation stores has been written.
void expectNothingStored(FacadeTestClient& client, const char* name) {
    const CTransactData& d = client.m_transactData;
    EXPECT_TRUE(d.m_amount == 0 && d.m_addAmount == 0 && d.m_merchIdx == 0 && d.m_rrn[0] == 0 &&
                d.m_invoiceNum == 0 && d.m_orderNum == 0 && d.m_serviceParams.empty() &&
                d.m_currCode[0] == 0 && d.m_accNumber == 0 && d.m_identifyCard == 0 &&
                d.m_ctrlMode == 0 && d.m_timeOut == 0 && d.m_beep == 0 && d.m_displayLen == 0 &&
                d.m_text.empty() && d.m_ecrStatus == 0 && d.m_appName.empty() && d.m_appIdx == 0 &&
                d.m_scenarioID == 0 && d.m_scenarioData.empty() && d.m_extraPrintData.empty() &&
                d.m_extraXmlData.empty() && d.m_fullPath.empty() && client.m_ecrDataType == 0 &&
                client.m_ecrCommand == 0 && client.m_screenNumber == 0)
        << name;
}

unsigned char lastResult(CVELAECRClient& client) {
    unsigned char value = 99;
    client.get_LastResult(value);
    return value;
}

TEST(Operations, EachStartsItsTaskAndStoresItsArguments) {
    ASSERT_EQ(operations().size(), 33u); // the 38 but the five that start no task
    for (const Operation& op : operations()) {
        FacadeTestClient client;
        client.pretendConnected();
        EXPECT_EQ(op.call(client), 0) << op.name;
        EXPECT_EQ(client.getTask(), op.task) << op.name;
        EXPECT_EQ(lastResult(client), 2) << op.name;
        if (op.checkStored)
            op.checkStored(client.m_transactData, client);
    }
}

TEST(Operations, WithoutConnectionOrWhileBusyNothingIsStored) {
    for (const Operation& op : operations()) {
        FacadeTestClient closed;
        EXPECT_EQ(op.call(closed), 5) << op.name;
        EXPECT_EQ(lastResult(closed), 1) << op.name;
        expectNothingStored(closed, op.name);

        FacadeTestClient busy;
        busy.pretendConnected();
        ASSERT_EQ(busy.Ping(), 0);
        EXPECT_EQ(op.call(busy), 7) << op.name;
        EXPECT_EQ(busy.getTask(), EThreadTask_Ping) << op.name;
        EXPECT_EQ(lastResult(busy), 2) << op.name;
        expectNothingStored(busy, op.name);
    }
}

TEST(Operations, NullTextsAreRefusedBeforeAnythingElse) {
    const std::vector<std::pair<const char*, std::function<int(CVELAECRClient&)>>> calls = {
        {"Refund", [](CVELAECRClient& c) { return c.Refund(100, 0, 1, nullptr); }},
        {"PurchaseService", [](CVELAECRClient& c) { return c.PurchaseService(1, 100, nullptr); }},
        {"IdentifyCard", [](CVELAECRClient& c) { return c.IdentifyCard(0, nullptr, 0); }},
        {"SelectApp", [](CVELAECRClient& c) { return c.SelectApp(nullptr, 1); }},
        {"StartScenario", [](CVELAECRClient& c) { return c.StartScenario(1, nullptr); }},
        {"SendFile", [](CVELAECRClient& c) { return c.SendFile(nullptr, 1, 1); }},
    };
    for (const auto& call : calls) {
        FacadeTestClient client;
        client.pretendConnected();
        EXPECT_EQ(call.second(client), 1) << call.first;
        EXPECT_EQ(client.getTask(), EThreadTask_Idle) << call.first;
        EXPECT_EQ(client.m_lastCode, 1u) << call.first;
        expectNothingStored(client, call.first);
    }
}

TEST(Operations, RrnAndCurrencyFieldsStayTerminated) {
    FacadeTestClient client;
    client.pretendConnected();
    std::string longRrn(1030, '7');
    ASSERT_EQ(client.Refund(1, 0, 0, &longRrn[0]), 0);
    EXPECT_EQ(std::string(client.m_transactData.m_rrn), std::string(1023, '7'));
    client.resetTask(0);

    ASSERT_EQ(client.Completion(1, 500, nullptr, 7), 0); // a null RRN is an empty one
    EXPECT_EQ(std::string(client.m_transactData.m_rrn, 1024), std::string(1024, '\0'));
    EXPECT_EQ(client.m_transactData.m_invoiceNum, 7u);
    client.resetTask(0);

    const std::pair<const char*, std::string> currencies[] = {
        {"9801", std::string("980\0", 4)},
        {"98", std::string("98\0\0", 4)},
        {nullptr, std::string(4, '\0')},
    };
    for (const auto& currency : currencies) {
        ASSERT_EQ(client.Deposit(0, 1, "840", 0), 0);
        client.resetTask(0);
        ASSERT_EQ(client.Balance(0, currency.first, 0), 0);
        EXPECT_EQ(std::string(client.m_transactData.m_currCode, 4), currency.second);
        client.resetTask(0);
    }
}

std::string block(FacadeTestClient& client) {
    const CTransactData& d = client.m_transactData;
    return std::string(reinterpret_cast<const char*>(d.m_displayBuf), d.m_displayLen);
}

TEST(ScreenBlock, EntriesAreAddedWholeOrNotAtAll) {
    FacadeTestClient client;
    client.pretendConnected();
    EXPECT_EQ(client.SetLine(1, 2, "", 0), 0);
    EXPECT_EQ(block(client), std::string("\x01\x02\x00\x00", 4));
    EXPECT_EQ(client.SetLine(3, 4, "Hi", 1), 0);
    EXPECT_EQ(block(client), std::string("\x01\x02\x00\x00\x03\x04\x01\x02Hi", 10));

    // 10 + 4 + 225 = 239 fits; one byte more does not, and the entry is left
    // out whole while the last-line members still take the arguments.
    std::string tooLong(226, 'x');
    EXPECT_EQ(client.SetLine(5, 6, tooLong.c_str(), 1), 0);
    EXPECT_EQ(client.m_transactData.m_displayLen, 10);
    EXPECT_EQ(client.m_transactData.m_text, tooLong);
    EXPECT_EQ(client.m_transactData.m_row, 5);
    std::string fits(225, 'y');
    EXPECT_EQ(client.SetLine(7, 8, fits.c_str(), 0), 0);
    EXPECT_EQ(client.m_transactData.m_displayLen, 239);
    EXPECT_EQ(block(client).substr(10), std::string("\x07\x08\x00\xE1", 4) + fits);

    // A text whose length does not fit the length byte never gets a header.
    FacadeTestClient other;
    other.pretendConnected();
    std::string huge(300, 'z');
    EXPECT_EQ(other.SetLine(1, 1, huge.c_str(), 0), 0);
    EXPECT_EQ(other.m_transactData.m_displayLen, 0);
}

TEST(ScreenBlock, EmptyLinesFillTheBlockTo236Bytes) {
    FacadeTestClient client;
    client.pretendConnected();
    for (int i = 1; i <= 61; ++i)
        ASSERT_EQ(client.SetLine(static_cast<unsigned char>(i), 0, nullptr, 0), 0) << i;
    EXPECT_EQ(client.m_transactData.m_displayLen, 236);
    EXPECT_EQ(client.m_transactData.m_displayBuf[232], 59); // the 59th entry is the last
    EXPECT_EQ(client.m_transactData.m_row, 61);
}

TEST(ScreenBlock, DisplayTextStartsANewBlockEvenWhenRefused) {
    FacadeTestClient client;
    client.pretendConnected();
    ASSERT_EQ(client.SetLine(1, 1, "one", 0), 0);
    ASSERT_EQ(client.SetScreen(3), 0);
    ASSERT_EQ(client.Ping(), 0);
    EXPECT_EQ(client.SetLine(2, 2, "two", 0), 7); // busy: nothing changes
    EXPECT_EQ(client.SetScreen(4), 7);
    EXPECT_EQ(client.m_screenNumber, 3u);
    EXPECT_EQ(client.DisplayText(1), 7);
    client.resetTask(0);
    ASSERT_EQ(client.SetLine(2, 2, "two", 0), 0);
    EXPECT_EQ(block(client), std::string("\x02\x02\x00\x03two", 7));
    // Without a connection the flag is not touched.
    ASSERT_EQ(client.CommClose(), 0);
    EXPECT_EQ(client.DisplayText(1), 5);
    EXPECT_FALSE(client.m_isNewScreen);
}

TEST(StoredData, ExtraDataIsStoredWhileBusyAndNullClearsIt) {
    FacadeTestClient client;
    EXPECT_EQ(client.SetExtraPrintData("x"), 5);
    client.pretendConnected();
    ASSERT_EQ(client.Purchase(100, 0, 0), 0);
    EXPECT_EQ(client.SetExtraPrintData("print"), 0);
    EXPECT_EQ(client.SetExtraXmlData("<xml/>"), 0);
    EXPECT_EQ(client.m_transactData.m_extraPrintData, "print");
    EXPECT_EQ(client.m_transactData.m_extraXmlData, "<xml/>");
    EXPECT_EQ(client.getTask(), EThreadTask_Purchase);
    EXPECT_EQ(client.SetExtraPrintData(nullptr), 0);
    EXPECT_EQ(client.SetExtraXmlData(nullptr), 0);
    EXPECT_EQ(client.m_transactData.m_extraPrintData, "");
    EXPECT_EQ(client.m_transactData.m_extraXmlData, "");
}

TEST(StoredData, CorrectionNeedsNoConnectionAndLeavesTheResultAlone) {
    FacadeTestClient client;
    client.ret(302);
    EXPECT_EQ(client.CorrectTransaction(1000, 5), 0);
    EXPECT_TRUE(client.m_isCorrectionRequested);
    EXPECT_EQ(client.m_transactData.m_amount, 1000u);
    EXPECT_EQ(client.m_transactData.m_addAmount, 5u);
    EXPECT_EQ(client.m_lastCode, 302u);
    EXPECT_EQ(client.m_errorKind, 4u);
}

} // namespace
