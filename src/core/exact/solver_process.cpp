#include "exact/solver_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <vector>

#include "exact/exact_search.h"
#include "host/manual_reset_event.h"

extern char** environ;

namespace pinsum {
namespace {

// How often the parent looks at the stop event while the solver works.
constexpr int kPollMilliseconds = 5;
constexpr double kGraceSeconds = 1.0;
// A solver that has not used its processor time after this many times its limit in wall-clock
// time is taken for stuck.
constexpr double kStuckFactor = 10.0;
constexpr const char* kProgramName = "pinsum-exact-solver";

// When the solver has run too long: by its processor time, as CBC's own limit counts, so that a
// solve at idle priority on a busy machine is slowed down rather than cut short; by wall-clock
// time only far beyond that, for a solver that is stuck without running.
class ChildLimit {
public:
    ChildLimit(pid_t child, double seconds)
        : m_seconds(seconds + kGraceSeconds),
          m_stuck(std::chrono::steady_clock::now() +
                  std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                      std::chrono::duration<double>(m_seconds * kStuckFactor))) {
        m_timed = clock_getcpuclockid(child, &m_clock) == 0;
    }

    bool Passed() const {
        timespec used{};
        if (m_timed && clock_gettime(m_clock, &used) == 0 &&
            static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9 > m_seconds)
            return true;
        return std::chrono::steady_clock::now() > m_stuck;
    }

private:
    double m_seconds;
    std::chrono::steady_clock::time_point m_stuck;
    clockid_t m_clock{};
    bool m_timed = false;
};

int Reap(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Whether the solver has ended, without reaping it: while it is unreaped its process group keeps
// its number, so the group can still be ended safely.
bool Ended(pid_t child) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == child;
}

// Ends the solver's process group, so that nothing it started outlives it, then reaps it.
int EndGroup(pid_t child) {
    kill(-child, SIGKILL);
    return Reap(child);
}

// Appends what the (non-blocking) descriptor holds now, up to a little past `limit` bytes in
// all; false at its end or on an error.
bool ReadAvailable(int fd, std::string& into, size_t limit) {
    char buffer[1 << 16];
    while (into.size() <= limit) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0)
            into.append(buffer, static_cast<size_t>(got));
        else if (got == 0 || errno != EINTR)
            return got < 0 && errno == EAGAIN;
    }
    return true;
}

// Both ends of a channel, closed on exec; the child gets its end through the spawn's file
// actions. The job goes through a socket pair, whose writes can refuse a reader that has gone
// instead of raising SIGPIPE in this process.
struct Channel {
    int fds[2] = {-1, -1};
    // The reading end does not block; the writing end, the child's output, does.
    bool OpenPipe() {
        return pipe2(fds, O_CLOEXEC) == 0 && fcntl(fds[0], F_SETFL, O_NONBLOCK) == 0;
    }
    bool OpenSockets() { return socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) == 0; }
    void Close(int end) {
        if (fds[end] >= 0)
            close(fds[end]);
        fds[end] = -1;
    }
    ~Channel() {
        Close(0);
        Close(1);
    }
};

IntegerAnswer WithStatus(IntegerAnswer::Status status) {
    IntegerAnswer answer;
    answer.status = status;
    return answer;
}

} // namespace

std::string SolverProgram() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto beside = self.parent_path() / kProgramName;
        if (access(beside.c_str(), X_OK) == 0)
            return beside.string();
    }
    return {};
}

std::optional<IntegerAnswer> SolveApart(const std::string& program, const std::string& job,
                                        size_t largestAnswer, double seconds,
                                        const ManualResetEvent* stop) {
    Channel input;
    Channel output;
    if (program.empty() || !input.OpenSockets() || !output.OpenPipe())
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.fds[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output.fds[1], STDOUT_FILENO);
    // A group of its own, which ends whole; a Ctrl+C at the terminal reaches this process alone,
    // which then ends the solver.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::string name = kProgramName;
    char* argv[] = {name.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;
    input.Close(0);
    output.Close(1);

    const ChildLimit limit(child, seconds);
    size_t sent = 0;
    std::string answer;
    IntegerAnswer::Status ended = IntegerAnswer::Status::Failed;
    bool reading = true;
    bool answered = false;
    // A solver that has closed its output, or has ended while something it started keeps the
    // output open, is still watched until it is reaped: the stop event and the limit hold
    // throughout.
    while (!answered) {
        if (stop != nullptr && stop->IsSet()) {
            ended = IntegerAnswer::Status::Stopped;
            break;
        }
        if (limit.Passed()) {
            ended = IntegerAnswer::Status::TimedOut;
            break;
        }
        if (!reading) {
            answered = Ended(child);
            if (!answered)
                poll(nullptr, 0, kPollMilliseconds);
            continue;
        }
        pollfd ready[2] = {{output.fds[0], POLLIN, 0}, {input.fds[1], POLLOUT, 0}};
        const int events = poll(ready, input.fds[1] >= 0 ? 2 : 1, kPollMilliseconds);
        // A solver that has ended is read out once more; whatever it started and still holds
        // its output is not waited for.
        const bool gone = events == 0 && Ended(child);
        if (events < 0 || (events == 0 && !gone))
            continue;
        if (input.fds[1] >= 0 && (ready[1].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
            const ssize_t put = send(input.fds[1], job.data() + sent, job.size() - sent,
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (put > 0)
                sent += static_cast<size_t>(put);
            if (sent == job.size() || (put < 0 && errno != EAGAIN && errno != EINTR))
                input.Close(1);
        }
        if (gone || (ready[0].revents & (POLLIN | POLLERR | POLLHUP)) != 0)
            reading = ReadAvailable(output.fds[0], answer, largestAnswer) && !gone;
        // More than the largest answer the job can have is no answer.
        if (answer.size() > largestAnswer)
            break;
    }
    const int status = EndGroup(child);
    if (!answered)
        return WithStatus(ended);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return WithStatus(IntegerAnswer::Status::Failed);
    const std::optional<IntegerAnswer> decoded = DecodeAnswer(answer);
    return decoded ? *decoded : WithStatus(IntegerAnswer::Status::Failed);
}

} // namespace pinsum
