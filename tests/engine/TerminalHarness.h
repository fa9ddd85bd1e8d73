#pragma once

// The engine with its worker, connected to the emulated terminal over
// loopback TCP, and helpers to start tasks as the facade does and wait for
// their end without sleeping.
#include "DefaultAnswers.h"
#include "TerminalEmulator.h"

#include "communication/ICommunication.h"
#include "engine/ECRClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace enginetest {

using namespace velaemu;
using Clock = std::chrono::steady_clock;
using Elements = std::vector<std::pair<std::uint32_t, Bytes>>;

const int kWaitMs = 10000;
const int kNoResult = -1;

// A 4-byte number element as the cash register sends it (big-endian).
inline Bytes N(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

inline Bytes T(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Polls condition until it holds or timeoutMs pass.
inline bool eventually(const std::function<bool()>& condition, int timeoutMs = kWaitMs) {
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class TestEngine : public CECRClient {
public:
    using CECRClient::m_errorKind;
    using CECRClient::m_lastResult;
    using CECRClient::m_taskResult;

    ~TestEngine() override { stopThread(); }

    bool connect(std::uint16_t port) {
        Communication::ICommunication* link =
            Communication::createCommIns(Communication::ECommType_TCP);
        link->m_address = "127.0.0.1";
        link->m_port = std::to_string(port);
        m_proto.setCommunication(link);
        return m_proto.open(false) == 0 && startThread() == 0;
    }

    // Writes engine parameters under the mutex, as the facade does.
    void store(const std::function<void(CTransactData&)>& write) {
        MutexLock lock(m_pMutex);
        write(m_transactData);
    }
    void setScreenNumber(std::uint32_t number) {
        MutexLock lock(m_pMutex);
        m_screenNumber = number;
    }
    void setFileToSend(const std::string& path, std::uint8_t type, std::uint8_t command) {
        MutexLock lock(m_pMutex);
        m_transactData.m_fullPath = path;
        m_ecrDataType = type;
        m_ecrCommand = command;
    }
    void requestCheckTerminal() {
        MutexLock lock(m_pMutex);
        m_isCheckTermRequested = true;
    }
    void requestCorrection(std::uint32_t amount, std::uint32_t addAmount) {
        MutexLock lock(m_pMutex);
        m_transactData.m_amount = amount;
        m_transactData.m_addAmount = addAmount;
        m_isCorrectionRequested = true;
    }

    // Starts task as the facade does: only while idle, under the mutex.
    bool start(EThreadTask task) {
        MutexLock lock(m_pMutex);
        if (task != EThreadTask_Cancel && m_task != EThreadTask_Idle)
            return false;
        startTask(task);
        return true;
    }

    // The result of the next task to end, kNoResult after timeoutMs.
    int waitResult(int timeoutMs = kWaitMs) {
        MutexAdapter adapter{m_pMutex};
        std::unique_lock<MutexAdapter> lock(adapter);
        bool ended = m_taskChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                            [this] { return m_results.size() > m_consumed; });
        return ended ? m_results[m_consumed++] : kNoResult;
    }
    bool anyResultPending() {
        MutexLock lock(m_pMutex);
        return m_results.size() > m_consumed;
    }

    // Reads the current result message under the mutex.
    bool currentHas(unsigned tag) {
        MutexLock lock(m_pMutex);
        return m_currentMsg.findTag(tag);
    }
    // A number the terminal sent (little-endian); fallback when absent.
    unsigned currentNumber(unsigned tag, unsigned fallback = 0xFFFFFFFFu) {
        MutexLock lock(m_pMutex);
        unsigned value = fallback;
        if (m_currentMsg.getTagNumValue(static_cast<int>(tag), value) != 0)
            return fallback;
        return value;
    }
    std::string currentText(unsigned tag) {
        MutexLock lock(m_pMutex);
        CTLVTag* element = nullptr;
        unsigned length = 0;
        if (m_currentMsg.getTag(element, tag) != 0 || element->getLength(length) != 0 ||
            length == 0)
            return std::string();
        std::string text(length, '\0');
        element->getValue(&text[0], length);
        return text;
    }

    // Every task end passes here with the mutex held.
    int ret(int code) override {
        m_results.push_back(code);
        return CECRClient::ret(code);
    }

private:
    struct MutexAdapter {
        Mutex* mutex;
        void lock() { mutex->lock(); }
        void unlock() { mutex->unlock(); }
    };

    std::vector<int> m_results;
    std::size_t m_consumed = 0;
};

// The emulated terminal and an engine connected to it.
class EngineOnTerminal : public ::testing::Test {
protected:
    void SetUp() override {
        std::uint16_t port = m_terminal.startTcp();
        ASSERT_NE(port, 0);
        ASSERT_TRUE(m_engine.connect(port));
    }
    void TearDown() override { m_engine.stopThread(); }

    // Runs task to its end and returns its result.
    int run(EThreadTask task) {
        EXPECT_TRUE(m_engine.start(task));
        return m_engine.waitResult();
    }

    TerminalEmulator m_terminal;
    TestEngine m_engine;
};

inline std::string describe(const Elements& elements) {
    std::string text;
    for (const auto& element : elements)
        text += std::to_string(element.first) + "=[" + hex(element.second) + "] ";
    return text;
}

} // namespace enginetest
