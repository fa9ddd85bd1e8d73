// The short-log lines of every operation entry point, word for word (a log
// reader searches for them), and the detailed lines of the accessors.
#include "FacadeTestClient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class OperationLog : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/velaecr-oplog-XXXXXX";
        int fd = mkstemp(pattern);
        ASSERT_GE(fd, 0);
        close(fd);
        m_path = pattern;
    }
    void TearDown() override { unlink(m_path.c_str()); }

    // The texts of the lines written after useLogging's own three lines.
    std::vector<std::string> texts() const {
        std::ifstream in(m_path);
        std::vector<std::string> result;
        std::string line;
        int skipped = 0;
        while (std::getline(in, line)) {
            if (skipped++ < 3)
                continue;
            // "dd/mm/yyyy hh:mm:ss <thread> <text>": the text starts after
            // the third blank and may itself end in a blank.
            std::size_t at = 0;
            for (int blanks = 0; blanks < 3 && at != std::string::npos; ++blanks)
                at = line.find(' ', at + (blanks > 0 ? 1 : 0));
            result.push_back(at == std::string::npos ? line : line.substr(at + 1));
        }
        return result;
    }

    std::string m_path;
};

// The lines grouped by call: each group starts at a "call " line and holds
// the argument lines after it, joined by '|'.
std::vector<std::string> callGroups(const std::vector<std::string>& lines) {
    std::vector<std::string> groups;
    for (const std::string& line : lines) {
        if (line.compare(0, 5, "call ") == 0 || groups.empty())
            groups.push_back(line);
        else
            groups.back() += "|" + line;
    }
    return groups;
}

TEST_F(OperationLog, EveryOperationLogsItsCallAndArguments) {
    FacadeTestClient client;
    client.pretendConnected();
    ASSERT_EQ(client.useLogging(1, m_path.c_str()), 0);
    char rrn[] = "RRN1";
    char params[] = "sp";
    char currency[] = "980";
    auto idle = [&](int code) {
        EXPECT_EQ(code, 0);
        client.resetTask(0);
    };
    EXPECT_EQ(client.Refund(1, 2, 3, nullptr), 1); // refused: no line at all
    idle(client.Purchase(4000000000u, 2, 3));
    idle(client.Refund(1, 2, 3, rrn));
    idle(client.Void(5, 3));
    idle(client.Settlement(3));
    idle(client.PrintBatchTotals(3));
    idle(client.PurchaseService(3, 1, params));
    idle(client.IdentifyCard(3, currency, 4));
    idle(client.GetTxnNum());
    idle(client.GetTxnDataByOrder(6));
    idle(client.GetTxnDataByInv(5, 3));
    idle(client.GetBatchTotals(3));
    idle(client.CheckConnection(3));
    idle(client.ReqCurrReceipt());
    idle(client.PrintLastSettleCopy(3));
    idle(client.PrintBatchJournal(3));
    idle(client.ReqReceiptByInv(5, 3));
    idle(client.SetControlMode(true));
    idle(client.ReadKey(30));
    idle(client.DisplayText(1));
    idle(client.SetLine(1, 2, "txt", 0));
    idle(client.ExchangeStatuses(2));
    idle(client.Completion(3, 1, nullptr, 7));
    idle(client.ReadCard());
    idle(client.Balance(3, nullptr, 4));
    idle(client.Deposit(3, 1, "980", 4));
    idle(client.POSGetInfo());
    idle(client.POSExTransaction());
    idle(client.SelectApp("app", 8));
    idle(client.CloseApp());
    idle(client.StartScenario(9, "sd"));
    idle(client.SetExtraPrintData("ep"));
    idle(client.SetExtraXmlData(nullptr));
    idle(client.SendFile("/f", 2, 3));
    idle(client.SetScreen(7));
    idle(client.CorrectTransaction(1, 2));
    idle(client.CashAdvance(3, 1, "980", 4));
    idle(client.ReadBankCard());
    idle(client.ReqDataFile());

    // One entry per call: its lines joined by '|'.
    const std::vector<std::string> expected = {
        "call Purchase()|Amount: 4000000000|AddAmount: 2|MerchIdx: 3",
        "call Refund()|Amount: 1|AddAmount: 2|MerchIdx: 3|RRN: RRN1",
        "call Void()|InvoceNum: 5|MerchIdx: 3",
        "call Settlement()|MerchIdx: 3",
        "call PrintBatchTotals()|MerchIdx: 3",
        "call PurchaseService()|MerchIdx: 3|Amount: 1|ServicePararms: sp",
        "call IdentifyCard()|MerchIdx: 3|CurrCode: 980|AccNumber: 4",
        "call GetTxnNum()",
        "call GetTxnDataByOrder()|OrderNum: 6",
        "call GetTxnDataByInv()|InvoiceNum: 5|MerchIdx: 3",
        "call GetBatchTotals()|MerchIdx: 3",
        "call CheckConnection()|MerchIdx: 3",
        "call ReqCurrReceipt()",
        "call PrintLastSettleCopy()|MerchIdx: 3",
        "call PrintBatchJournal()|MerchIdx: 3",
        "call ReqReceiptByInv()|InvoiceNum: 5|MerchIdx: 3",
        "call SetControlMode()|ctrlMode: 1",
        "call ReadKey()|TimeOut: 30",
        "call DisplayText()|Beep: 1",
        "call SetLine()|Row: 1|Col: 2|Text: txt|Invert: 0",
        "call ExchangeStatuses()|ECRStatus: 2",
        "call Completion()|MerchIdx: 3|Amount: 1|RRN: |ulInvoiceNum: 7",
        "call ReadCard()",
        "call Balance()|MerchIdx: 3|CurrCode: |AccNumber: 4",
        "call Deposit()|MerchIdx: 3|Amount: 1|CurrCode: 980|AccNumber: 4",
        "call POSGetInfo()",
        "call POSExTransaction()",
        "call SelectApp()|AppName: app|AppIdx: 8",
        "call CloseApp()",
        "call StartScenario()|ScenarioID: 9|ScenarioData: sd",
        "call SetExtraPrintData()|ExtraPrintData: ep",
        "call SetExtraXmlData()|ExtraXmlData: ",
        "call SendFile() |FullPath: /f|ECRDataType: 2|ECRCommand: 3",
        "call SetScreen() |ScreenNumber: 7",
        "call CorrectTransaction() |Amount: 1|lAddAmount: 2",
        "call CashAdvance()|MerchIdx: 3|Amount: 1|CurrCode: 980|AccNumber: 4",
        "call ReadBankCard()",
        "call ReqDataFile()",
    };
    EXPECT_EQ(callGroups(texts()), expected);
}

TEST_F(OperationLog, AccessorsLogAtTheDetailedLevelOnly) {
    FacadeTestClient client;
    ASSERT_EQ(client.useLogging(1, m_path.c_str()), 0);
    char buffer[128];
    unsigned number = 0;
    unsigned char byte = 0;
    client.get_Receipt(buffer, sizeof buffer);
    EXPECT_TRUE(texts().empty());

    ASSERT_EQ(client.useLogging(2, m_path.c_str()), 0);
    client.get_Receipt(buffer, sizeof buffer);
    client.get_RRN(buffer, sizeof buffer);
    client.get_DateTime(buffer, sizeof buffer);
    client.get_ExpDate(buffer, sizeof buffer);
    client.get_ResponseCode(number);
    client.get_TxnType(byte);
    client.get_CardNumber(buffer, sizeof buffer);
    client.get_PAN(buffer, sizeof buffer);
    client.get_TeminalInfo(buffer, sizeof buffer);
    client.get_TerminalInfo(buffer, sizeof buffer);
    client.get_LastErrorDescription(buffer, sizeof buffer);
    const std::vector<std::string> expected = {
        "call useLogging() in version: 1.5.20",
        "FilePath: " + m_path,
        "Logging level: 2",
        "call get_Receipt() ",
        "call get_RRN()",
        "call get_DateTime()",
        "call get_ExpDate() ",
        "call get_ResponseCode()",
        "call get_TxnType()",
        "call get_CardNumber()",
        "call get_PAN() ",
        "call get_TeminalInfo() ",
        "call get_TerminalInfo() ",
        "call get_LastErrorDescription()",
    };
    EXPECT_EQ(texts(), expected);
}

} // namespace
