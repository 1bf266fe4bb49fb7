// WorkerTest: the second thread runs one job at a time, hands back what a job threw, and without
// a thread does the job at once.
#include "core/Worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

TEST(Worker, JobsRunOneAtATimeInTheOrderGivenAndFailuresComeBackOnWait) {
    TWorker worker(true);
    ASSERT_TRUE(worker.Threaded());
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::vector<int> order;
    const auto job = [&](int n) {
        return [&, n] {
            const int now = ++running;
            most = std::max(most.load(), now);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            order.push_back(n);
            --running;
        };
    };
    // Handing over a job while one runs waits for it instead of overwriting it.
    worker.Run(job(1));
    worker.Run(job(2));
    worker.Wait();
    worker.Run(job(3));
    worker.Wait();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(most.load(), 1);

    worker.Run([] { throw std::runtime_error("paint failed"); });
    EXPECT_THROW(worker.Wait(), std::runtime_error);
    // Thrown once, and the worker goes on.
    EXPECT_NO_THROW(worker.Wait());
    bool ran = false;
    worker.Run([&] { ran = true; });
    worker.Wait();
    EXPECT_TRUE(ran);
}

TEST(Worker, WithoutAThreadTheJobIsDoneAtOnce) {
    TWorker alone(false);
    EXPECT_FALSE(alone.Threaded());
    const std::thread::id caller = std::this_thread::get_id();
    std::thread::id where{};
    alone.Run([&] { where = std::this_thread::get_id(); });
    EXPECT_EQ(where, caller);
    alone.Run([] { throw std::runtime_error("no room"); });
    EXPECT_THROW(alone.Wait(), std::runtime_error);
}
