// The facade's connection calls end to end: the real transports, the worker
// and the emulated terminal.
#include "TerminalHarness.h"

#include "client/VELAECRClient.h"

namespace enginetest {
namespace {

class Client : public CVELAECRClient {
public:
    int transportState() { return m_proto.isOpened(); }
    bool workerRuns() { return hasWorker(); }
};

class ClientWithoutThreads : public Client {
protected:
    Thread* createWorker() override { return nullptr; }
};

unsigned char lastResult(CVELAECRClient& client) {
    unsigned char value = 99;
    client.get_LastResult(value);
    return value;
}

// Polls the last result as an application does; 2 when it does not end.
unsigned char waitEnd(CVELAECRClient& client) {
    unsigned char value = 2;
    eventually([&] { return (value = lastResult(client)) != 2; });
    return value;
}

class Connection : public ::testing::Test {
protected:
    void SetUp() override {
        m_port = std::to_string(m_terminal.startTcp());
        ASSERT_NE(m_port, "0");
    }

    TerminalEmulator m_terminal;
    std::string m_port;
};

TEST_F(Connection, OpenRunsTheInitialisationAndOperationsFollowAtOnce) {
    Client client;
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(client.CommOpenTCP("127.0.0.1", m_port.c_str()), 0) << round;
        EXPECT_TRUE(client.isInited());
        // Initialised before the open returned: the next call is accepted.
        ASSERT_EQ(client.Ping(), 0) << round;
        EXPECT_EQ(waitEnd(client), 0) << round;
        EXPECT_EQ(client.CommClose(), 0);
        EXPECT_FALSE(client.workerRuns());
    }
}

TEST_F(Connection, SerialOpenOverAPseudoTerminal) {
    TerminalEmulator serial;
    std::string path = serial.startPty();
    if (path.empty())
        GTEST_SKIP() << "no pseudo-terminals on this machine";
    Client client;
    ASSERT_EQ(client.CommOpen(path.c_str(), 115200), 0);
    ASSERT_EQ(client.Ping(), 0);
    EXPECT_EQ(waitEnd(client), 0);
    ASSERT_EQ(client.Confirm(), 0);
    EXPECT_EQ(waitEnd(client), 0);
}

TEST_F(Connection, OpenWhileConnectedClosesTheOldConnectionFirst) {
    Client client;
    ASSERT_EQ(client.CommOpenTCP("127.0.0.1", m_port.c_str()), 0);
    // An operation is still running on the old connection.
    m_terminal.queueReply({Step::status(DefaultAnswers::statusMessage(1))});
    ASSERT_EQ(client.Ping(), 0);
    ASSERT_TRUE(m_terminal.waitForRequests(1, kWaitMs));
    ASSERT_EQ(client.CommOpenTCP("127.0.0.1", m_port.c_str()), 0);
    EXPECT_TRUE(eventually([&] { return m_terminal.connections() == 2; }));
    ASSERT_EQ(client.Ping(), 0);
    EXPECT_EQ(waitEnd(client), 0);
}

TEST_F(Connection, AWorkerThatCannotStartFailsTheOpenAndClosesTheTransport) {
    ClientWithoutThreads client;
    EXPECT_EQ(client.CommOpenTCP("127.0.0.1", m_port.c_str()), 6);
    EXPECT_EQ(lastResult(client), 1);
    EXPECT_NE(client.transportState(), 0);
    EXPECT_FALSE(client.isInited());
    EXPECT_EQ(client.Ping(), 5);
}

TEST_F(Connection, SecondOperationIsRefusedAndTheFirstGoesOn) {
    Client client;
    ASSERT_EQ(client.CommOpenTCP("127.0.0.1", m_port.c_str()), 0);
    m_terminal.queueReply({Step::status(DefaultAnswers::statusMessage(1))});
    ASSERT_EQ(client.Ping(), 0);
    ASSERT_TRUE(m_terminal.waitForRequests(1, kWaitMs));
    EXPECT_EQ(client.Confirm(), 7);
    EXPECT_EQ(lastResult(client), 2);
    m_terminal.push({Step::frame(LeMessage().num(1, 12))});
    EXPECT_EQ(waitEnd(client), 0);
    EXPECT_EQ(m_terminal.requests().size(), 1u);
}

TEST_F(Connection, CancelAndCloseWhileAnOperationWaits) {
    Client client;
    ASSERT_EQ(client.CommOpenTCP("127.0.0.1", m_port.c_str()), 0);
    m_terminal.queueReply({Step::status(DefaultAnswers::statusMessage(1))});
    ASSERT_EQ(client.Ping(), 0);
    ASSERT_TRUE(m_terminal.waitForRequests(1, kWaitMs));
    EXPECT_EQ(client.Cancel(), 0);
    ASSERT_TRUE(eventually([&] {
        Bytes received = m_terminal.received();
        return !received.empty() && received.back() == 0x04;
    }));
    EXPECT_EQ(lastResult(client), 2);
    EXPECT_EQ(client.CommClose(), 0); // ends the waiting exchange
    EXPECT_EQ(lastResult(client), 0);
    EXPECT_FALSE(client.workerRuns());
}

} // namespace
} // namespace enginetest
