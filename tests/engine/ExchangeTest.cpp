// The course of an exchange: status messages, corrections, the check-terminal
// watch, cancel, stop and a lost connection.
#include "TerminalHarness.h"

#include <algorithm>

namespace enginetest {
namespace {

LeMessage approvedPurchase() {
    return LeMessage().num(1, 2).num(14, 0).num(3, 1000);
}

LeMessage status(int index) {
    return DefaultAnswers::statusMessage(index);
}

class Exchange : public EngineOnTerminal {
protected:
    void startPurchase() {
        m_engine.store([](CTransactData& d) {
            d.m_amount = 1000;
            d.m_merchIdx = 1;
        });
        ASSERT_TRUE(m_engine.start(EThreadTask_Purchase));
    }
    bool statusShown(unsigned code) {
        return eventually([&] { return m_engine.currentNumber(30) == code; });
    }
};

TEST_F(Exchange, StatusMessagesBecomeTheCurrentMessageInTurn) {
    m_terminal.queueReply({Step::status(status(1))});
    startPurchase();
    ASSERT_TRUE(statusShown(1));
    m_terminal.push({Step::status(status(2))});
    ASSERT_TRUE(statusShown(2));
    m_terminal.push({Step::frame(status(3))}); // a data frame of type 13 is a status too
    ASSERT_TRUE(statusShown(3));
    EXPECT_FALSE(m_engine.anyResultPending());
    m_terminal.push({Step::frame(approvedPurchase())});
    EXPECT_EQ(m_engine.waitResult(), 0);
    EXPECT_EQ(m_engine.currentNumber(1), 2u);
    EXPECT_FALSE(m_engine.currentHas(30));
}

TEST_F(Exchange, CorrectionGoesOutWhilePurchaseWaits) {
    m_engine.store([](CTransactData& d) { d.m_extraPrintData = "print"; });
    m_terminal.queueReply({Step::status(status(1))});
    startPurchase();
    ASSERT_TRUE(statusShown(1));
    m_engine.requestCorrection(1500, 30);
    ASSERT_TRUE(m_terminal.waitForRequests(2, kWaitMs));
    // No extras with a correction.
    EXPECT_EQ(m_terminal.requests()[1].elements,
              (Elements{{1, N(1)}, {2, N(19)}, {3, N(1500)}, {45, N(30)}}));
    m_terminal.push({Step::frame(approvedPurchase())});
    EXPECT_EQ(m_engine.waitResult(), 0);
    EXPECT_EQ(m_terminal.requests().size(), 2u); // one correction only
}

TEST_F(Exchange, EchoedCheckByteKeepsTheOperationGoing) {
    // The terminal answers 2.6 s after the check byte and echoes it meanwhile.
    m_terminal.queueReply(
        {Step::status(status(1)), Step::delay(2600), Step::frame(approvedPurchase())});
    startPurchase();
    ASSERT_TRUE(statusShown(1));
    m_engine.requestCheckTerminal();
    EXPECT_EQ(m_engine.waitResult(), 0);
    Bytes received = m_terminal.received();
    EXPECT_EQ(std::count(received.begin(), received.end(), 0x07), 1);
}

TEST_F(Exchange, SilentTerminalEndsWithNoAnswerAfterTwoSeconds) {
    m_terminal.setEchoCheckByte(false);
    m_terminal.queueReply(
        {Step::status(status(1)), Step::delay(8000), Step::frame(approvedPurchase())});
    startPurchase();
    ASSERT_TRUE(statusShown(1));
    Clock::time_point asked = Clock::now();
    m_engine.requestCheckTerminal();
    EXPECT_EQ(m_engine.waitResult(), 17);
    EXPECT_GE(Clock::now() - asked, std::chrono::seconds(2));
}

TEST_F(Exchange, CancelWhileIdleSendsOneAbort) {
    ASSERT_TRUE(m_engine.start(EThreadTask_Cancel));
    EXPECT_EQ(m_engine.waitResult(), 0);
    EXPECT_EQ(m_engine.m_lastResult, 0u);
    EXPECT_EQ(m_engine.getTask(), EThreadTask_Idle);
    ASSERT_TRUE(m_terminal.waitForReceived(1, kWaitMs));
    EXPECT_EQ(m_terminal.received(), Bytes{0x04});
}

TEST_F(Exchange, CancelWhileWaitingAbortsAndWaitsForTheAnswer) {
    m_terminal.queueReply({Step::status(status(1))});
    startPurchase();
    ASSERT_TRUE(statusShown(1));
    std::size_t sentBefore = m_terminal.received().size();
    ASSERT_TRUE(m_engine.start(EThreadTask_Cancel));
    // The terminal may record the acknowledgement of the status frame only
    // after the status is shown, so look for the abort among what follows.
    EXPECT_TRUE(eventually([&] {
        Bytes received = m_terminal.received();
        return received.size() > sentBefore &&
               std::find(received.begin() + static_cast<std::ptrdiff_t>(sentBefore), received.end(),
                         0x04) != received.end();
    }));
    ASSERT_TRUE(eventually([&] { return m_engine.getTask() == EThreadTask_Idle; }));
    // The purchase is still running: only the terminal's answer ends it.
    EXPECT_EQ(m_engine.m_lastResult, 2u);
    EXPECT_FALSE(m_engine.anyResultPending());
    m_terminal.push({Step::frame(LeMessage().num(1, 2).num(14, 1000).num(49, 2))});
    EXPECT_EQ(m_engine.waitResult(), 1);
    EXPECT_EQ(m_engine.currentNumber(14), 1000u);
}

TEST_F(Exchange, SecondTaskIsRefusedWhileOneRuns) {
    m_terminal.queueReply({Step::status(status(1))});
    startPurchase();
    ASSERT_TRUE(statusShown(1));
    EXPECT_EQ(m_engine.setTask(EThreadTask_Void), 7);
    EXPECT_EQ(m_engine.getTask(), EThreadTask_Purchase);
    m_terminal.push({Step::frame(approvedPurchase())});
    EXPECT_EQ(m_engine.waitResult(), 0);
}

TEST_F(Exchange, StopEndsAWaitingExchange) {
    struct Case {
        EThreadTask task;
        int result;
    };
    for (const Case& c : {Case{EThreadTask_Ping, 9}, Case{EThreadTask_Purchase, 1}}) {
        TerminalEmulator terminal;
        TestEngine engine;
        ASSERT_TRUE(engine.connect(terminal.startTcp()));
        terminal.queueReply({Step::status(status(1))});
        ASSERT_TRUE(engine.start(c.task));
        ASSERT_TRUE(eventually([&] { return engine.currentNumber(30) == 1u; }));
        engine.stopThread();
        EXPECT_EQ(engine.m_taskResult, static_cast<unsigned>(c.result)) << c.task;
        EXPECT_EQ(engine.m_lastResult, 0u);
    }
}

TEST_F(Exchange, LostConnectionEndsThePurchaseAsDisconnected) {
    m_terminal.queueReply({Step::status(status(1)), Step::close()});
    startPurchase();
    EXPECT_EQ(m_engine.waitResult(), 11);
}

} // namespace
} // namespace enginetest
