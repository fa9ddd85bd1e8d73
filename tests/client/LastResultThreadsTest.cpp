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
    FacadeTestClient client;
    client.pretendConnected();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i)
            client.resetTask(i % 3 == 0 ? 0 : 302);
        done = true;
    });
    int rounds = 0;
    while (!done || rounds < 100) {
        unsigned char value = 0;
        client.Ping();
        client.get_LastResult(value);
        EXPECT_LE(value, 2);
        client.get_LastErrorCode(value);
        EXPECT_LE(value, 4);
        client.ret(rounds % 2 == 0 ? 7 : 0);
        ++rounds;
    }
    worker.join();
}

} // namespace
