// The facade's result recording, guard, task starts and control calls.
#include "FacadeTestClient.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

unsigned char lastResult(CVELAECRClient& client) {
    unsigned char value = 99;
    client.get_LastResult(value);
    return value;
}

unsigned char errorKind(CVELAECRClient& client) {
    unsigned char value = 99;
    client.get_LastErrorCode(value);
    return value;
}

TEST(FacadeRet, RecordsKindNumberAndLastCode) {
    struct Case {
        int code;
        unsigned lastResult; // 9: left as it was (starts at 9)
        unsigned kind;
        unsigned number;
    };
    const Case cases[] = {
        {0, 9, 0, 0},   {1, 9, 4, 1},     {2, 1, 1, 1},
        {3, 9, 3, 3},   {4, 9, 3, 3},     {5, 1, 2, 2},
        {6, 9, 3, 3},   {7, 9, 3, 3},     {8, 9, 4, 8},
        {9, 9, 3, 3},   {10, 9, 3, 3},    {11, 9, 3, 3},
        {12, 9, 3, 3},  {13, 9, 3, 3},    {14, 9, 3, 3},
        {15, 9, 4, 15}, {16, 9, 4, 16},   {17, 9, 3, 3},
        {18, 9, 4, 18}, {302, 9, 4, 302}, {-4, 9, 4, 0xFFFFFFFCu},
    };
    for (const Case& c : cases) {
        FacadeTestClient client;
        client.m_lastResult = 9;
        EXPECT_EQ(client.ret(c.code), c.code);
        EXPECT_EQ(client.m_lastResult, c.lastResult) << c.code;
        EXPECT_EQ(client.m_errorKind, c.kind) << c.code;
        EXPECT_EQ(client.m_errorCode, c.number) << c.code;
        EXPECT_EQ(client.m_lastCode, static_cast<unsigned>(c.code)) << c.code;
    }
}

TEST(FacadeGuard, WithoutConnectionEveryOperationFailsWithFive) {
    FacadeTestClient client;
    EXPECT_EQ(client.Purchase(100, 0, 0), 5);
    EXPECT_EQ(lastResult(client), 1);
    EXPECT_EQ(errorKind(client), 2);
    EXPECT_EQ(client.m_errorCode, 2u);
    EXPECT_EQ(client.Confirm(), 5);
    EXPECT_EQ(client.Ping(), 5);
    EXPECT_EQ(client.Cancel(), 5);
    EXPECT_EQ(client.SetLine(1, 1, "x", 0), 5);
    EXPECT_EQ(client.CheckTerminal(), 0);
}

TEST(FacadeGuard, OpenButNotInitialisedOrClosedFailsWithFive) {
    FacadeTestClient client;
    client.attachOpenTransport();
    EXPECT_EQ(client.Ping(), 5);

    client.pretendConnected();
    ASSERT_EQ(client.Ping(), 0);
    client.resetTask(0);
    EXPECT_EQ(client.CommClose(), 0); // closes the transport
    EXPECT_EQ(client.Ping(), 5);
    unsigned amount = 0;
    EXPECT_EQ(client.get_Amount(amount), 8);
}

TEST(FacadeTasks, StartRecordsRunningAndARefusalKeepsIt) {
    FacadeTestClient client;
    client.pretendConnected();
    ASSERT_EQ(client.Ping(), 0);
    EXPECT_EQ(lastResult(client), 2);
    EXPECT_EQ(client.getTask(), EThreadTask_Ping);

    // Another start is refused with 7 and must not make the running task look
    // finished to a caller that polls the last result.
    EXPECT_EQ(client.Confirm(), 7);
    EXPECT_EQ(client.Purchase(1, 0, 0), 7);
    EXPECT_EQ(lastResult(client), 2);
    EXPECT_EQ(errorKind(client), 3);
    EXPECT_EQ(client.m_lastCode, 7u);
    EXPECT_EQ(client.getTask(), EThreadTask_Ping);

    client.resetTask(0);
    EXPECT_EQ(lastResult(client), 0);
    EXPECT_EQ(client.Confirm(), 0);
    EXPECT_EQ(client.getTask(), EThreadTask_Confirm);
}

TEST(FacadeTasks, CancelIsSetWhateverTheWorkerDoes) {
    FacadeTestClient client;
    client.pretendConnected();
    EXPECT_EQ(client.Cancel(), 0); // idle: reads running until the worker acts
    EXPECT_EQ(lastResult(client), 2);
    EXPECT_EQ(client.getTask(), EThreadTask_Cancel);
    client.resetTask(0);
    ASSERT_EQ(client.Ping(), 0);
    EXPECT_EQ(client.Cancel(), 0);
    EXPECT_EQ(client.getTask(), EThreadTask_Cancel);
}

TEST(FacadeTasks, FailedTaskCodeReachesLastCodeWhenPolled) {
    FacadeTestClient client;
    client.pretendConnected();
    ASSERT_EQ(client.Ping(), 0);
    client.resetTask(302);
    client.UseMac(0, nullptr); // a later success clears the last code
    EXPECT_EQ(client.m_lastCode, 0u);
    EXPECT_EQ(lastResult(client), 1);
    EXPECT_EQ(client.m_lastCode, 302u);
}

TEST(FacadeConnection, InitialisationWithoutWorkerEndsInsteadOfWaiting) {
    FacadeTestClient client;
    client.pretendConnected();
    EXPECT_EQ(client.initialize(), 6);
    EXPECT_EQ(lastResult(client), 1);
    EXPECT_EQ(client.getTask(), EThreadTask_Idle);
}

TEST(FacadeConnection, OpenFailuresAndClose) {
    FacadeTestClient client;
    EXPECT_EQ(client.CommOpen("/dev/IOS", 115200), 2);
    EXPECT_EQ(lastResult(client), 1);
    EXPECT_EQ(errorKind(client), 1);
    EXPECT_EQ(client.CommOpenTCP("127.0.0.1", "1"), 2);
    EXPECT_EQ(client.CommClose(), 0);
    EXPECT_EQ(client.CommClose(), 0);
    EXPECT_EQ(errorKind(client), 0);
    EXPECT_EQ(client.Purchase(100, 0, 0), 5);
}

TEST(FacadeVersion, SizeRules) {
    FacadeTestClient client;
    char buffer[128];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(client.get_LibraryVersion(buffer, 5), 1);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(client.get_LibraryVersion(buffer, 6), 0);
    EXPECT_EQ(std::string(buffer, 7), "1.5.20x"); // no terminator at size 6
    EXPECT_EQ(client.get_LibraryVersion(buffer, 128), 0);
    EXPECT_EQ(std::string(buffer, 128), "1.5.20" + std::string(122, '\0'));
}

TEST(FacadeDescription, TextsCutAndUnknownCodes) {
    FacadeTestClient client;
    struct Case {
        int code;
        int size;
        std::string text;
    };
    const Case cases[] = {{40, 64, "Unknown error"},        {17, 64, "Unknown error"},
                          {-1, 64, "Unknown error"},        {7, 64, "Another task is running"},
                          {12, 64, "Timeout recive error"}, {0, 4, "No e"}};
    for (const Case& c : cases) {
        char buffer[65];
        std::memset(buffer, 'x', sizeof buffer);
        client.getECRCDescription(c.code, buffer, c.size);
        std::string zeros(static_cast<std::size_t>(c.size) - c.text.size(), '\0');
        EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(c.size)), c.text + zeros) << c.code;
        EXPECT_EQ(buffer[c.size], 'x') << c.code;
    }
}

} // namespace
