// The child process that runs CBC: its answer arrives whole, and a crash, a stop or a hang in it
// never takes the caller along.
#include "exact/solver_process.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "host/manual_reset_event.h"

namespace pinsum {
namespace {

using Status = IntegerAnswer::Status;

TEST(SolverProcess, BringsTheChildsAnswerOrSaysWhyThereIsNone) {
    const IntegerAnswer answer = SolveApart(
        [](const ManualResetEvent*) {
            IntegerAnswer a;
            a.status = Status::Optimal;
            a.cost = 37751.5;
            // More than a pipe holds at once, so the parent must read while the child writes.
            for (int i = 0; i < 100000; ++i)
                a.values.push_back(i % 7);
            return a;
        },
        10.0, nullptr);
    EXPECT_EQ(answer.status, Status::Optimal);
    EXPECT_EQ(answer.cost, 37751.5);
    ASSERT_EQ(answer.values.size(), 100000u);
    EXPECT_EQ(answer.values[99999], 99999 % 7);

    const IntegerAnswer crashed = SolveApart(
        [](const ManualResetEvent*) -> IntegerAnswer {
            raise(SIGKILL);
            return {};
        },
        10.0, nullptr);
    EXPECT_EQ(crashed.status, Status::Failed);

    const IntegerAnswer threw = SolveApart(
        [](const ManualResetEvent*) -> IntegerAnswer { throw std::bad_alloc(); }, 10.0, nullptr);
    EXPECT_EQ(threw.status, Status::Failed);

    // The limit counts the child's processor time.
    const IntegerAnswer endless = SolveApart(
        [](const ManualResetEvent*) -> IntegerAnswer {
            std::atomic<unsigned> spin{0};
            for (;;)
                spin.fetch_add(1, std::memory_order_relaxed);
        },
        0.05, nullptr);
    EXPECT_EQ(endless.status, Status::TimedOut);
}

TEST(SolverProcess, AStopEndsTheChildAtOnce) {
    ManualResetEvent stop;
    std::chrono::steady_clock::time_point set;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        set = std::chrono::steady_clock::now();
        stop.Set();
    });
    const IntegerAnswer answer = SolveApart(
        [](const ManualResetEvent*) -> IntegerAnswer {
            std::this_thread::sleep_for(std::chrono::seconds(30));
            return {};
        },
        60.0, &stop);
    const auto ended = std::chrono::steady_clock::now();
    canceller.join();
    EXPECT_EQ(answer.status, Status::Stopped);
    EXPECT_LT(ended - set, std::chrono::milliseconds(100));
}

} // namespace
} // namespace pinsum
