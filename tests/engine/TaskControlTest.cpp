// The engine's task control and its own result table.
#include "engine/ECRClient.h"
#include "platform/Fabric.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

class Engine : public CECRClient {
public:
    using CECRClient::m_errorCode;
    using CECRClient::m_errorKind;
    using CECRClient::m_isCheckTermRequested;
    using CECRClient::m_isCheckTermSent;
    using CECRClient::m_isCorrectionRequested;
    using CECRClient::m_lastResult;
    using CECRClient::m_taskResult;

    using CECRClient::CheckResult;

    Thread* worker() {
        MutexLock lock(m_pMutex);
        return m_pThread;
    }

    void startUnderLock(EThreadTask task) {
        MutexLock lock(m_pMutex);
        startTask(task);
    }
};

// Records what reaches the result hook, to show resetTask goes through the
// virtual slot.
class RecordingEngine : public Engine {
public:
    int ret(int code) override {
        codes.push_back(code);
        return CECRClient::ret(code);
    }
    std::vector<int> codes;
};

TEST(EngineRet, RecordsKindAndNumber) {
    struct Case {
        int code;
        unsigned lastResult; // 9: left as it was
        unsigned kind;
        unsigned number;
    };
    const Case cases[] = {
        {0, 9, 0, 0},  {1, 9, 4, 1},   {2, 1, 1, 1},     {3, 9, 3, 3},  {5, 1, 2, 2},
        {7, 9, 3, 3},  {8, 9, 4, 8},   {9, 9, 3, 3},     {15, 9, 3, 3}, {16, 9, 4, 16},
        {17, 9, 3, 3}, {18, 9, 4, 18}, {314, 9, 4, 314},
    };
    for (const Case& c : cases) {
        Engine engine;
        engine.m_lastResult = 9;
        EXPECT_EQ(engine.ret(c.code), c.code);
        EXPECT_EQ(engine.m_lastResult, c.lastResult) << c.code;
        EXPECT_EQ(engine.m_errorKind, c.kind) << c.code;
        EXPECT_EQ(engine.m_errorCode, c.number) << c.code;
    }
}

TEST(EngineTasks, SetTaskOnlyWhileIdle) {
    Engine engine;
    EXPECT_EQ(engine.getTask(), EThreadTask_None);
    EXPECT_EQ(engine.setTask(EThreadTask_Idle), 0);
    EXPECT_EQ(engine.setTask(EThreadTask_Purchase), 0);
    EXPECT_EQ(engine.setTask(EThreadTask_Void), 7);
    EXPECT_EQ(engine.getTask(), EThreadTask_Purchase);
}

TEST(EngineTasks, ResetTaskEndsTheTaskThroughTheHook) {
    struct Case {
        int result;
        unsigned lastResult;
    };
    for (const Case& c : {Case{0, 0}, Case{302, 1}, Case{7, 1}}) {
        RecordingEngine engine;
        engine.startUnderLock(EThreadTask_Purchase);
        EXPECT_EQ(engine.m_lastResult, 2u);
        engine.m_isCorrectionRequested = true;
        engine.m_isCheckTermRequested = true;
        engine.m_isCheckTermSent = true;

        EXPECT_EQ(engine.resetTask(c.result), 0);
        EXPECT_EQ(engine.getTask(), EThreadTask_Idle);
        EXPECT_EQ(engine.m_taskResult, static_cast<unsigned>(c.result));
        EXPECT_EQ(engine.m_lastResult, c.lastResult) << c.result;
        EXPECT_EQ(engine.codes, std::vector<int>{c.result});
        EXPECT_FALSE(engine.m_isCorrectionRequested);
        EXPECT_FALSE(engine.m_isCheckTermRequested);
        EXPECT_FALSE(engine.m_isCheckTermSent);
    }
}

// A number element as the terminal sends it (little-endian).
void addTerminalNumber(CTLVMessage& msg, unsigned tag, unsigned value) {
    unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    msg.addTag(new CTLVTag(tag, bytes, 4));
}

TEST(EngineCheckResult, AddResultAndResponseCode) {
    const unsigned kAbsent = 999;
    struct Case {
        unsigned addResult; // tag 49
        unsigned response;  // tag 14
        int result;
    };
    const Case cases[] = {
        {kAbsent, kAbsent, 0},
        {kAbsent, 0, 0},
        {kAbsent, 5, 1},
        {0, 0, 0},
        {0, 5, 1},
        {1, 0, 0},
        {1, 5, 0},
        {7, 5, 0},
        {2, 0, 1},
        {2, 5, 1},
    };
    for (const Case& c : cases) {
        Engine engine;
        engine.m_lastResult = 2;
        CTLVMessage msg;
        if (c.addResult != kAbsent)
            addTerminalNumber(msg, 49, c.addResult);
        if (c.response != kAbsent)
            addTerminalNumber(msg, 14, c.response);
        EXPECT_EQ(engine.CheckResult(msg), c.result) << c.addResult << " " << c.response;
        // The last result changes only when the task ends.
        EXPECT_EQ(engine.m_lastResult, 2u);
        EXPECT_EQ(engine.m_errorKind, c.result == 0 ? 0u : 4u);
    }
}

TEST(EngineCheckResult, UnreadableResponseCodeIsNoApproval) {
    Engine engine;
    CTLVMessage msg;
    unsigned char twoBytes[2] = {0, 0};
    msg.addTag(new CTLVTag(14, twoBytes, 2));
    EXPECT_EQ(engine.CheckResult(msg), 1);
}

TEST(EngineWorker, StartReturnsWithTheWorkerIdleAndStopsIt) {
    Engine engine;
    engine.m_lastResult = 1;
    ASSERT_EQ(engine.startThread(), 0);
    // Without waiting: the worker has set its task before startThread returns.
    EXPECT_EQ(engine.getTask(), EThreadTask_Idle);
    engine.resetTask(0);
    Thread* first = engine.worker();
    ASSERT_EQ(engine.startThread(), 0); // a second start keeps the one worker
    EXPECT_EQ(engine.worker(), first);
    engine.stopThread();
    EXPECT_EQ(engine.m_lastResult, 0u);
    EXPECT_EQ(engine.worker(), nullptr);
}

TEST(EngineWorker, ExitTaskEndsTheWorkerLoop) {
    Engine engine;
    ASSERT_EQ(engine.startThread(), 0);
    ASSERT_EQ(engine.setTask(EThreadTask_Exit), 0);
    // resetTask(0) at exit makes the task idle again.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (engine.getTask() != EThreadTask_Idle && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_EQ(engine.getTask(), EThreadTask_Idle);
    EXPECT_EQ(engine.m_taskResult, 0u);
    engine.stopThread(); // joins the ended worker
}

// Notes whether the engine reads as initialised when a task's end is
// published.
class InitWatchingEngine : public Engine {
public:
    int ret(int code) override {
        initedAtEnd.push_back(m_isInited); // resetTask holds the mutex
        return Engine::ret(code);
    }
    std::vector<bool> initedAtEnd;
};

TEST(EngineWorker, InitialisedBeforeTheInitialisationEndIsPublished) {
    InitWatchingEngine engine;
    ASSERT_EQ(engine.startThread(), 0);
    ASSERT_EQ(engine.setTask(EThreadTask_Init), 0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!engine.isInited() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    engine.stopThread();
    EXPECT_EQ(engine.initedAtEnd, std::vector<bool>{true});
}

class NoThreadEngine : public Engine {
protected:
    Thread* createWorker() override { return nullptr; }
};

TEST(EngineWorker, AWorkerThatCannotBeMadeIsReported) {
    NoThreadEngine engine;
    EXPECT_EQ(engine.startThread(), 6);
    EXPECT_EQ(engine.worker(), nullptr);
}

TEST(EngineWorker, StopWithoutWorkerDoesNothing) {
    Engine engine;
    engine.m_lastResult = 1;
    engine.stopThread();
    EXPECT_EQ(engine.m_lastResult, 1u);
    EXPECT_FALSE(engine.isInited());
}

} // namespace

namespace {
// A worker that only announces its start and waits for the stop, so a task
// can be left pending when the worker is stopped.
class PendingTaskEngine : public Engine {
public:
    Thread* createWorker() override { return ThreadFabric::createObject(&run, this); }

private:
    static void* run(void* self) {
        static_cast<PendingTaskEngine*>(self)->announceAndWaitForStop();
        return nullptr;
    }
    void announceAndWaitForStop() {
        MutexRef ref(m_pMutex);
        std::unique_lock<MutexRef> lock(ref);
        m_isThreadStarted = true;
        m_task = EThreadTask_Idle;
        m_taskChanged.notify_all();
        m_taskChanged.wait(lock, [this] { return m_isStopRequested.load(); });
    }
};

TEST(EngineWorker, StopDropsATaskTheWorkerNeverRan) {
    PendingTaskEngine engine;
    ASSERT_EQ(engine.startThread(), 0);
    engine.startUnderLock(EThreadTask_Cancel);
    engine.stopThread();
    EXPECT_EQ(engine.getTask(), EThreadTask_Idle);
    // The next worker starts idle, so the next connection's initialisation
    // finds it free.
    ASSERT_EQ(engine.startThread(), 0);
    EXPECT_EQ(engine.setTask(EThreadTask_Ping), 0);
    engine.stopThread();
}
} // namespace
