// The last-result fields written from a caller's thread (ret, the guard) and
// from a worker ending tasks under the engine mutex. ThreadSanitizer checks
// the access; the run also shows that ret never takes the mutex that
// resetTask holds (it would hang).
#include "FacadeTestClient.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(LastResultThreads, CallerAndWorkerWriteTheResultTogether) {
    const int kRounds = 5000;
    FacadeTestClient client;
    client.pretendConnected();
    std::atomic<bool> go{false};
    std::thread worker([&] {
        while (!go)
            std::this_thread::yield();
        for (int i = 0; i < kRounds; ++i)
            client.resetTask(i % 3 == 0 ? 0 : 302);
    });
    go = true;
    for (int i = 0; i < kRounds; ++i) {
        client.ret(i % 2 == 0 ? 7 : 0);
        client.ret(5);
        if (i % 16 == 0) {
            unsigned char value = 0;
            client.Ping();
            client.get_LastResult(value);
            EXPECT_LE(value, 2);
            client.get_LastErrorCode(value);
            EXPECT_LE(value, 4);
        }
    }
    worker.join();
}

} // namespace
