#include "platform/common/SerialWorker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(SerialWorker, RunsJobsInOrderOffTheCallersThread) {
    SerialWorker worker;
    std::vector<int> done; // written by the worker only, read after drain
    std::thread::id ran;
    for (int i = 0; i < 5; ++i) {
        worker.post([&, i] {
            done.push_back(i);
            ran = std::this_thread::get_id();
        });
    }
    worker.drain();
    EXPECT_EQ(done, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_NE(ran, std::this_thread::get_id());
}

// A job that waits on another process holds up only the jobs after it; stop
// waits for it and drops the rest, and nothing runs after.
TEST(SerialWorker, StopWaitsForTheJobUnderWayAndDropsTheRest) {
    SerialWorker worker;
    std::mutex mutex;
    std::condition_variable wake;
    bool started = false;
    bool release = false;
    std::vector<std::string> done;
    worker.post([&] {
        std::unique_lock<std::mutex> guard(mutex);
        started = true;
        wake.notify_all();
        wake.wait(guard, [&] { return release; });
        done.push_back("held");
    });
    worker.post([&] { done.push_back("queued"); });
    {
        std::unique_lock<std::mutex> guard(mutex);
        wake.wait(guard, [&] { return started; });
    }
    // The job ends a moment after stop was asked (stop drops the queue at
    // once and then waits).
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const std::lock_guard<std::mutex> guard(mutex);
        release = true;
        wake.notify_all();
    });
    worker.stop();
    releaser.join();
    worker.post([&] { done.push_back("after stop"); });
    worker.drain();
    EXPECT_EQ(done, (std::vector<std::string>{"held"}));
}

} // namespace
