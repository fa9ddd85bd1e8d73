// The request of every operation as the terminal receives it, and the final
// message types each operation accepts. Tag numbers and codes are written as
// plain numbers on purpose: a test that borrowed the library's constants
// could not catch a wrong one.
#include "TerminalHarness.h"

#include <cstring>

namespace enginetest {
namespace {

const std::string kRrn = "123456789012";
const Bytes kScreen = {1, 2, 0, 2, 'h', 'i', 3, 4, 1, 0};

// The parameters every case starts from; merchant, invoice and order numbers
// are 0 in the pass that checks the elements sent only when not 0.
void storeParameters(TestEngine& engine, bool zeroes) {
    engine.store([zeroes](CTransactData& d) {
        d.m_amount = 1000;
        d.m_addAmount = 25;
        d.m_merchIdx = zeroes ? 0 : 3;
        std::memset(d.m_rrn, 0, sizeof d.m_rrn);
        std::memcpy(d.m_rrn, kRrn.data(), kRrn.size());
        d.m_invoiceNum = zeroes ? 0 : 77;
        d.m_orderNum = zeroes ? 0 : 55;
        d.m_serviceParams = "svc=1";
        std::memcpy(d.m_currCode, "980", 4);
        d.m_accNumber = 2;
        d.m_ctrlMode = 1;
        d.m_timeOut = 30;
        d.m_beep = 1;
        std::memset(d.m_displayBuf, 0xEE, sizeof d.m_displayBuf); // beyond the block
        std::memcpy(d.m_displayBuf, kScreen.data(), kScreen.size());
        d.m_displayLen = static_cast<std::uint8_t>(kScreen.size());
        d.m_ecrStatus = 4;
        d.m_appName = "APP";
        d.m_appIdx = 9;
        d.m_scenarioID = 12;
        d.m_scenarioData = "data";
    });
    engine.setScreenNumber(5);
}

struct OperationCase {
    const char* name;
    EThreadTask task;
    int identifyCard; // stored by the facade with the task; -1 none
    Elements sent;
    Elements sentAtZero; // empty: the case has no element that depends on 0
    bool extras;
    std::vector<std::uint32_t> finalTypes;
};

const std::vector<OperationCase>& operationCases() {
    static const std::vector<OperationCase> cases = {
        {"Ping", EThreadTask_Ping, -1, {{1, N(11)}}, {}, false, {12}},
        {"Confirm", EThreadTask_Confirm, -1, {{1, N(5)}}, {}, false, {6}},
        {"Purchase",
         EThreadTask_Purchase,
         -1,
         {{1, N(1)}, {2, N(1)}, {3, N(1000)}, {33, N(3)}, {45, N(25)}},
         {{1, N(1)}, {2, N(1)}, {3, N(1000)}, {33, N(0)}, {45, N(25)}},
         true,
         {2}},
        {"Refund",
         EThreadTask_Refund,
         -1,
         {{1, N(1)}, {2, N(10)}, {3, N(1000)}, {18, T(kRrn)}, {33, N(3)}, {45, N(25)}},
         {},
         true,
         {2}},
        {"Void",
         EThreadTask_Void,
         -1,
         {{1, N(1)}, {2, N(11)}, {17, N(77)}, {33, N(3)}},
         {{1, N(1)}, {2, N(11)}, {17, N(0)}, {33, N(0)}},
         true,
         {2}},
        {"Settlement",
         EThreadTask_Settlement,
         -1,
         {{1, N(3)}, {27, N(1)}, {33, N(3)}},
         {{1, N(3)}, {27, N(1)}, {33, N(0)}},
         false,
         {4}},
        {"PrintBatchTotals",
         EThreadTask_PrintBatchTotals,
         -1,
         {{1, N(3)}, {27, N(2)}, {33, N(3)}, {47, N(1)}},
         {{1, N(3)}, {27, N(2)}, {33, N(0)}, {47, N(1)}},
         false,
         {4}},
        {"PurchaseService",
         EThreadTask_PurchaseService,
         -1,
         {{1, N(1)}, {2, N(18)}, {3, N(1000)}, {33, N(3)}, {61, T("svc=1")}},
         {},
         true,
         {2}},
        {"IdentifyCard",
         EThreadTask_IdentifyCard,
         1,
         {{1, N(1)}, {2, N(16)}, {33, N(3)}, {59, T("980")}, {60, N(2)}, {65, N(1)}},
         {},
         false,
         {2}},
        {"GetTxnNum", EThreadTask_GetTxnNum, -1, {{1, N(3)}, {27, N(4)}}, {}, false, {4}},
        {"GetTxnDataByOrder",
         EThreadTask_GetTxnDataByOrder,
         -1,
         {{1, N(1)}, {2, N(13)}, {42, N(55)}},
         {{1, N(1)}, {2, N(13)}},
         true,
         {2}},
        {"GetTxnDataByInv",
         EThreadTask_GetTxnDataByInv,
         -1,
         {{1, N(1)}, {2, N(12)}, {17, N(77)}, {33, N(3)}},
         {{1, N(1)}, {2, N(12)}},
         true,
         {2}},
        {"GetBatchTotals",
         EThreadTask_GetBatchTotals,
         -1,
         {{1, N(3)}, {27, N(2)}, {33, N(3)}},
         {{1, N(3)}, {27, N(2)}},
         false,
         {4}},
        {"CheckConnection",
         EThreadTask_CheckConnection,
         -1,
         {{1, N(3)}, {27, N(5)}, {33, N(3)}},
         {{1, N(3)}, {27, N(5)}},
         false,
         {4}},
        {"ReqCurrReceipt", EThreadTask_ReqCurrReceipt, -1, {{1, N(14)}, {48, N(1)}}, {}, false, {}},
        {"PrintLastSettleCopy",
         EThreadTask_PrintLastSettleCopy,
         -1,
         {{1, N(3)}, {27, N(6)}, {33, N(3)}},
         {{1, N(3)}, {27, N(6)}},
         false,
         {4}},
        {"PrintBatchJournal",
         EThreadTask_PrintBatchJournal,
         -1,
         {{1, N(3)}, {27, N(7)}, {33, N(3)}},
         {{1, N(3)}, {27, N(7)}},
         false,
         {4}},
        {"ReqReceiptByInv",
         EThreadTask_ReqReceiptByInv,
         -1,
         {{1, N(1)}, {2, N(12)}, {17, N(77)}, {33, N(3)}, {47, N(1)}},
         {{1, N(1)}, {2, N(12)}, {47, N(1)}},
         true,
         {2}},
        {"SetControlMode",
         EThreadTask_SetControlMode,
         -1,
         {{1, N(16)}, {51, N(1)}, {52, N(4)}},
         {},
         false,
         {17}},
        {"ReadKey",
         EThreadTask_ReadKey,
         -1,
         {{1, N(16)}, {52, N(2)}, {54, N(30)}},
         {},
         false,
         {17}},
        {"DisplayText",
         EThreadTask_DisplayText,
         -1,
         {{1, N(16)}, {52, N(1)}, {56, N(1)}, {57, kScreen}, {81, N(5)}},
         {},
         false,
         {17}},
        {"ExchangeStatuses",
         EThreadTask_ExchangeStatuses,
         -1,
         {{1, N(16)}, {52, N(3)}, {55, N(4)}},
         {},
         false,
         {17}},
        {"Completion",
         EThreadTask_Completion,
         -1,
         {{1, N(1)}, {2, N(15)}, {3, N(1000)}, {17, N(77)}, {18, T(kRrn)}, {33, N(3)}},
         {},
         true,
         {2}},
        {"ReadCard", EThreadTask_ReadCard, -1, {{1, N(7)}}, {}, false, {8, 10}},
        {"Balance",
         EThreadTask_Balance,
         0,
         {{1, N(1)}, {2, N(16)}, {33, N(3)}, {59, T("980")}, {60, N(2)}, {65, N(0)}},
         {},
         true,
         {2}},
        {"Deposit",
         EThreadTask_Deposit,
         -1,
         {{1, N(1)}, {2, N(17)}, {3, N(1000)}, {33, N(3)}, {59, T("980")}, {60, N(2)}},
         {},
         true,
         {2}},
        {"POSGetInfo", EThreadTask_POSGetInfo, -1, {{1, N(3)}, {27, N(8)}}, {}, false, {4}},
        {"POSExTransaction",
         EThreadTask_POSExTransaction,
         -1,
         {{1, N(3)}, {27, N(9)}},
         {},
         false,
         {4}},
        {"SelectApp",
         EThreadTask_SelectApp,
         -1,
         {{1, N(3)}, {27, N(10)}, {72, T("APP")}, {73, N(9)}},
         {},
         false,
         {4}},
        {"CloseApp", EThreadTask_CloseApp, -1, {{1, N(3)}, {27, N(11)}}, {}, false, {4}},
        {"StartScenario",
         EThreadTask_StartScenario,
         -1,
         {{1, N(3)}, {27, N(12)}, {68, T("data")}, {74, N(12)}},
         {},
         false,
         {4}},
        {"CashAdvance",
         EThreadTask_CashAdvance,
         -1,
         {{1, N(1)}, {2, N(20)}, {3, N(1000)}, {33, N(3)}, {59, T("980")}, {60, N(2)}},
         {},
         true,
         {2}},
        {"ReadBankCard", EThreadTask_ReadBankCard, -1, {{1, N(20)}}, {}, false, {8, 10}},
        {"ReqDataFile", EThreadTask_ReqDataFile, -1, {{1, N(14)}, {48, N(3)}}, {}, false, {}},
    };
    return cases;
}

class OperationRequests : public EngineOnTerminal {
protected:
    // Runs the case with the terminal's usual answers; the request it sent.
    Elements runWithDefaultAnswer(const OperationCase& c) {
        if (c.identifyCard >= 0)
            m_engine.store([&](CTransactData& d) {
                d.m_identifyCard = static_cast<std::uint8_t>(c.identifyCard);
            });
        std::size_t before = m_terminal.requests().size();
        EXPECT_EQ(run(c.task), 0) << c.name;
        std::vector<Request> requests = m_terminal.requests();
        if (requests.size() != before + 1) {
            ADD_FAILURE() << c.name << ": " << requests.size() - before << " requests";
            return Elements();
        }
        return requests.back().elements;
    }

    // Runs the case against a final answer of the given type.
    int runWithFinalType(const OperationCase& c, std::uint32_t type) {
        m_terminal.queueReply({Step::status(DefaultAnswers::statusMessage(1)),
                               Step::frame(LeMessage().num(1, type).num(14, 0))});
        return run(c.task);
    }
};

TEST_F(OperationRequests, EveryOperationSendsItsElementsInOrder) {
    storeParameters(m_engine, false);
    for (const OperationCase& c : operationCases()) {
        Elements sent = runWithDefaultAnswer(c);
        EXPECT_EQ(sent, c.sent) << c.name << ": " << describe(sent);
    }
}

TEST_F(OperationRequests, ElementsSentOnlyWhenNotZero) {
    storeParameters(m_engine, true);
    for (const OperationCase& c : operationCases()) {
        if (c.sentAtZero.empty())
            continue;
        Elements sent = runWithDefaultAnswer(c);
        EXPECT_EQ(sent, c.sentAtZero) << c.name << ": " << describe(sent);
    }
}

TEST_F(OperationRequests, ExtrasGoWithTheRequestsThatCarryThem) {
    storeParameters(m_engine, false);
    m_engine.store([](CTransactData& d) {
        d.m_extraPrintData = "print";
        d.m_extraXmlData = "<x/>";
    });
    for (const OperationCase& c : operationCases()) {
        Elements expected = c.sent;
        if (c.extras) {
            expected.push_back({75, T("print")});
            expected.push_back({82, T("<x/>")});
        }
        Elements sent = runWithDefaultAnswer(c);
        EXPECT_EQ(sent, expected) << c.name << ": " << describe(sent);
    }
    // An emptied extra is left out again.
    m_engine.store([](CTransactData& d) { d.m_extraPrintData.clear(); });
    Elements sent = runWithDefaultAnswer(operationCases()[2]); // Purchase
    EXPECT_EQ(sent.back(), (std::pair<std::uint32_t, Bytes>{82, T("<x/>")}));
    EXPECT_EQ(sent.size(), operationCases()[2].sent.size() + 1);
}

TEST_F(OperationRequests, OnlyTheAcceptedFinalTypesEndAnOperationWell) {
    storeParameters(m_engine, false);
    for (const OperationCase& c : operationCases()) {
        if (c.finalTypes.empty())
            continue; // file fetches wait on past other messages (see the file tests)
        for (std::uint32_t type : c.finalTypes)
            EXPECT_EQ(runWithFinalType(c, type), 0) << c.name << " answered with " << type;
        std::uint32_t wrong = c.finalTypes[0] == 2 ? 4 : 2;
        EXPECT_EQ(runWithFinalType(c, wrong), 1) << c.name << " answered with " << wrong;
        EXPECT_EQ(m_engine.currentNumber(1), 13u) << c.name << ": the status stays";
    }
}

TEST_F(OperationRequests, AnEmptyTextIsNeverSent) {
    storeParameters(m_engine, false);
    m_engine.store([](CTransactData& d) { d.m_appName.clear(); });
    std::size_t bytesBefore = m_terminal.received().size();
    EXPECT_EQ(run(EThreadTask_SelectApp), 13);
    EXPECT_EQ(m_terminal.received().size(), bytesBefore);
}

TEST_F(OperationRequests, PurchaseGoesOutAsTheDocumentedDump) {
    m_engine.store([](CTransactData& d) {
        d.m_amount = 1000;
        d.m_addAmount = 0;
        d.m_merchIdx = 1;
    });
    ASSERT_EQ(run(EThreadTask_Purchase), 0);
    const Bytes body = {0, 0, 0, 0x01, 0, 0, 0, 0x04, 0, 0, 0,    0x01,  // message type 1
                        0, 0, 0, 0x02, 0, 0, 0, 0x04, 0, 0, 0,    0x01,  // transaction type 1
                        0, 0, 0, 0x03, 0, 0, 0, 0x04, 0, 0, 0x03, 0xE8,  // amount 1000
                        0, 0, 0, 0x21, 0, 0, 0, 0x04, 0, 0, 0,    0x01,  // merchant index 1
                        0, 0, 0, 0x2D, 0, 0, 0, 0x04, 0, 0, 0,    0x00}; // additional amount 0
    ASSERT_EQ(body.size(), 60u);
    Bytes frame = {0x02, 0x00, 0x3C};
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(xorOf(body));
    Bytes received = m_terminal.received();
    ASSERT_GE(received.size(), frame.size());
    EXPECT_EQ(Bytes(received.begin(), received.begin() + frame.size()), frame) << hex(received);
}

} // namespace
} // namespace enginetest
