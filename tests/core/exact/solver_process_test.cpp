// The solver program: a job goes in and its answer comes back whole, and a crash, nonsense, a
// flood, a stop or an endless solve in it never takes the caller along, nor leaves anything it
// started behind.
#include "exact/solver_process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
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

// The answer of SmallJob: two values.
const size_t kAnswerBytes = AnswerBytes(2);

// Whether the process has ended (gone, or a zombie nobody has reaped yet), waiting up to a second.
bool EndsSoon(const std::string& pid) {
    for (int i = 0; i < 100; ++i) {
        std::ifstream stat("/proc/" + pid + "/stat");
        std::string line;
        if (!std::getline(stat, line) || line.find(") Z ") != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(SolverProcess, BringsTheSolversAnswerOrSaysWhyThereIsNone) {
    const std::string job = EncodeJob(SmallJob());
    const std::optional<IntegerAnswer> answer =
        SolveApart(SolverProgram(), job, kAnswerBytes, 10.0, nullptr);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->status, Status::Optimal);
    EXPECT_EQ(answer->cost, 19.0);
    EXPECT_EQ(answer->values, (std::vector<double>{1.0, 3.0}));

    EXPECT_FALSE(
        SolveApart(testing::TempDir() + "no-such-solver", job, kAnswerBytes, 10.0, nullptr));
    EXPECT_EQ(SolveApart(Script("crash", "kill -9 $$"), job, kAnswerBytes, 10.0, nullptr)->status,
              Status::Failed);
    EXPECT_EQ(SolveApart(Script("nonsense", "cat >/dev/null; echo nonsense"), job, kAnswerBytes,
                         10.0, nullptr)
                  ->status,
              Status::Failed);
    // The limit counts the solver's processor time, also once the solver has closed its output.
    for (const char* body : {"while :; do :; done", "exec >&-; while :; do :; done"})
        EXPECT_EQ(SolveApart(Script("endless", body), job, kAnswerBytes, 0.05, nullptr)->status,
                  Status::TimedOut)
            << body;
    // A damaged job is refused by the solver, not solved.
    EXPECT_EQ(
        SolveApart(SolverProgram(), job.substr(0, job.size() - 3), kAnswerBytes, 10.0, nullptr)
            ->status,
        Status::Failed);
}

TEST(SolverProcess, MoreThanTheLargestAnswerIsAFailureAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    const std::optional<IntegerAnswer> answer =
        SolveApart(Script("flood", "head -c 100000000 /dev/zero; exec sleep 30"),
                   EncodeJob(SmallJob()), kAnswerBytes, 10.0, nullptr);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->status, Status::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// Whether the solver keeps its output open, has closed it or has handed it to a program it
// started, a stop ends it and whatever it started within milliseconds.
TEST(SolverProcess, AStopEndsTheSolverAndWhatItStartedAtOnce) {
    const std::string pidFile = testing::TempDir() + "pinsum-grandchild.pid";
    const char* bodies[] = {"exec sleep 30", "exec >&-; exec sleep 30",
                            "sleep 30 & echo $! > '%'; exec sleep 30",
                            "exec >&-; sleep 30 & echo $! > '%'; wait"};
    for (std::string body : bodies) {
        std::remove(pidFile.c_str());
        const bool starts = body.find('%') != std::string::npos;
        if (starts)
            body.replace(body.find('%'), 1, pidFile);
        ManualResetEvent stop;
        std::chrono::steady_clock::time_point set;
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            set = std::chrono::steady_clock::now();
            stop.Set();
        });
        const std::optional<IntegerAnswer> answer =
            SolveApart(Script("sleeper", body), EncodeJob(SmallJob()), kAnswerBytes, 60.0, &stop);
        const auto ended = std::chrono::steady_clock::now();
        canceller.join();
        ASSERT_TRUE(answer.has_value()) << body;
        EXPECT_EQ(answer->status, Status::Stopped) << body;
        EXPECT_LT(ended - set, std::chrono::milliseconds(100)) << body;
        if (starts) {
            std::string grandchild;
            std::ifstream(pidFile) >> grandchild;
            ASSERT_FALSE(grandchild.empty()) << body;
            EXPECT_TRUE(EndsSoon(grandchild)) << body;
        }
    }
}

} // namespace
} // namespace pinsum
