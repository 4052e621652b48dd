// The solver program: a job goes in and its answer comes back whole, and a crash, nonsense, a
// stop or an endless solve in it never takes the caller along.
#include "exact/solver_process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "exact/exact_search.h"
#include "host/manual_reset_event.h"

namespace pinsum {
namespace {

using Status = IntegerAnswer::Status;

// A stand-in solver program: a shell script.
std::string Script(const std::string& name, const std::string& body) {
    const std::string path = testing::TempDir() + "pinsum-" + name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

// One root controller at 10 and a further device at 3 that places 2 points, 5 points wanted.
ExactJob SmallJob() {
    ExactJob job;
    IntegerProgram& program = job.exact.program;
    program.AddColumn(10.0, 1.0);
    program.AddColumn(3.0, 10.0);
    program.AddRow({{0, 1.0}}, 'E', 1.0);
    program.AddRow({{1, 2.0}}, 'G', 5.0);
    job.exact.roots = {{{0}, {0}}};
    job.exact.further = {1};
    job.seconds = 10.0;
    job.firstColumns = 1000;
    return job;
}

TEST(SolverProcess, BringsTheSolversAnswerOrSaysWhyThereIsNone) {
    const std::string job = EncodeJob(SmallJob());
    const std::optional<IntegerAnswer> answer = SolveApart(SolverProgram(), job, 10.0, nullptr);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->status, Status::Optimal);
    EXPECT_EQ(answer->cost, 19.0);
    EXPECT_EQ(answer->values, (std::vector<double>{1.0, 3.0}));

    EXPECT_FALSE(SolveApart(testing::TempDir() + "no-such-solver", job, 10.0, nullptr));
    EXPECT_EQ(SolveApart(Script("crash", "kill -9 $$"), job, 10.0, nullptr)->status,
              Status::Failed);
    EXPECT_EQ(
        SolveApart(Script("nonsense", "cat >/dev/null; echo nonsense"), job, 10.0, nullptr)->status,
        Status::Failed);
    // The limit counts the solver's processor time.
    EXPECT_EQ(SolveApart(Script("endless", "while :; do :; done"), job, 0.05, nullptr)->status,
              Status::TimedOut);
    // A damaged job is refused by the solver, not solved.
    EXPECT_EQ(SolveApart(SolverProgram(), job.substr(0, job.size() - 3), 10.0, nullptr)->status,
              Status::Failed);
}

TEST(SolverProcess, AStopEndsTheSolverAtOnce) {
    ManualResetEvent stop;
    std::chrono::steady_clock::time_point set;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        set = std::chrono::steady_clock::now();
        stop.Set();
    });
    const std::optional<IntegerAnswer> answer =
        SolveApart(Script("sleeper", "exec sleep 30"), EncodeJob(SmallJob()), 60.0, &stop);
    const auto ended = std::chrono::steady_clock::now();
    canceller.join();
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->status, Status::Stopped);
    EXPECT_LT(ended - set, std::chrono::milliseconds(100));
}

} // namespace
} // namespace pinsum
