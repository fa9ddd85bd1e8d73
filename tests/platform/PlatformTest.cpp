// Threads and mutexes made by their factories.
#include "platform/Fabric.h"
#include "platform/LinuxMutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

void* increment(void* arg) {
    ++*static_cast<std::atomic<int>*>(arg);
    return nullptr;
}

TEST(Factories, UnknownTypesMakeNothing) {
    std::atomic<int> runs{0};
    EXPECT_EQ(MutexFabric::create(static_cast<MutexFabric::Type>(2)), nullptr);
    EXPECT_EQ(ThreadFabric::create(static_cast<ThreadFabric::Type>(0), increment, &runs), nullptr);
    EXPECT_EQ(runs, 0);
}

TEST(Threads, RunJoinAndDetach) {
    std::atomic<int> runs{0};
    std::unique_ptr<Thread> joined(
        ThreadFabric::create(ThreadFabric::Type_Linux, increment, &runs));
    ASSERT_NE(joined, nullptr);
    EXPECT_TRUE(joined->is_joinable());
    EXPECT_EQ(joined->join(), 0);
    EXPECT_EQ(runs, 1);

    std::unique_ptr<Thread> detached(ThreadFabric::createObject(increment, &runs));
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(detached->detach(), 0);
    EXPECT_FALSE(detached->is_joinable());
    while (runs != 2) // the detached thread uses runs: wait until it has
        std::this_thread::yield();
}

TEST(Mutexes, GuardSerialisesThreads) {
    std::unique_ptr<Mutex> mutex(MutexFabric::create(MutexFabric::Type_Linux));
    ASSERT_NE(mutex, nullptr);
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                MutexLock lock(mutex.get());
                ++counter;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 40000);
}

TEST(Mutexes, DeletingAHeldMutexWaitsForItsRelease) {
    Mutex* mutex = MutexFabric::createObject();
    std::atomic<bool> locked{false};
    std::atomic<bool> release{false};
    std::atomic<int> order{0};
    int releasedAt = 0;
    std::thread holder([&] {
        mutex->lock();
        locked = true;
        while (!release)
            std::this_thread::yield();
        releasedAt = ++order;
        mutex->unlock();
    });
    while (!locked)
        std::this_thread::yield();
    std::thread deleter([&] {
        delete mutex;
        EXPECT_GT(++order, releasedAt);
    });
    release = true;
    holder.join();
    deleter.join();
    EXPECT_EQ(order, 2);
}

} // namespace
