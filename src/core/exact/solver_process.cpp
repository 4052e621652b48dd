#include "exact/solver_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <mutex>
#include <vector>

#include "host/manual_reset_event.h"

namespace pinsum {
namespace {

// How often the parent looks at the stop event while the child works.
constexpr int kPollMilliseconds = 5;
constexpr double kGraceSeconds = 1.0;
// A child that has not used its processor time after this many times its limit in wall-clock
// time is taken for stuck.
constexpr double kStuckFactor = 10.0;

struct Header {
    int32_t status;
    double cost;
    uint64_t values;
};

bool WriteAll(int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// The child's output would mix with the parent's, and a flush would repeat whatever the parent
// had buffered when it forked.
void SilenceOutput() {
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0)
        return;
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    close(null);
}

// The child keeps only its end of the pipe: a descriptor of another solve's pipe, inherited by
// a fork on another thread, would keep that solve waiting for this child to end.
void KeepOnly(int fd) {
    if (fd > STDERR_FILENO + 1)
        close_range(STDERR_FILENO + 1, static_cast<unsigned>(fd) - 1, 0);
    close_range(static_cast<unsigned>(fd) + 1, ~0U, 0);
}

[[noreturn]] void AnswerFromChild(int fd, const SolverWork& work) {
    KeepOnly(fd);
    // The worker that waits for the child is the one that forked it: if it dies, so does the
    // child.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    SilenceOutput();
    int code = 1;
    try {
        // The parent ends the child on a stop.
        const IntegerAnswer answer = work(nullptr);
        const Header header{static_cast<int32_t>(answer.status), answer.cost, answer.values.size()};
        if (WriteAll(fd, &header, sizeof header) &&
            (answer.values.empty() ||
             WriteAll(fd, answer.values.data(), answer.values.size() * sizeof(double))))
            code = 0;
    } catch (...) {
        code = 2;
    }
    // Nothing of the parent's (buffers, exit handlers) may run in the child.
    _exit(code);
}

// Whether the data hold a whole answer, so that reading may end before the pipe closes.
bool Whole(const std::vector<char>& data) {
    Header header{};
    if (data.size() < sizeof header)
        return false;
    std::memcpy(&header, data.data(), sizeof header);
    return data.size() >= sizeof header + header.values * sizeof(double);
}

IntegerAnswer Read(const std::vector<char>& data) {
    IntegerAnswer answer;
    answer.status = IntegerAnswer::Status::Failed;
    Header header{};
    if (data.size() < sizeof header)
        return answer;
    std::memcpy(&header, data.data(), sizeof header);
    if (header.status < 0 || header.status > static_cast<int32_t>(IntegerAnswer::Status::Failed) ||
        data.size() != sizeof header + header.values * sizeof(double))
        return answer;
    answer.status = static_cast<IntegerAnswer::Status>(header.status);
    answer.cost = header.cost;
    answer.values.resize(header.values);
    if (!answer.values.empty())
        std::memcpy(answer.values.data(), data.data() + sizeof header, data.size() - sizeof header);
    return answer;
}

int Reap(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Without a child process: CBC's command-line driver keeps state in globals, so one such solve
// runs at a time.
IntegerAnswer SolveHere(const SolverWork& work, const ManualResetEvent* stop) {
    static std::mutex one;
    const std::lock_guard<std::mutex> lock(one);
    return work(stop);
}

// When the child has run too long: by its processor time, as CBC's own limit counts, so that a
// solve at idle priority on a busy machine is slowed down rather than cut short; by wall-clock
// time only far beyond that, for a child that is stuck without running.
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

} // namespace

IntegerAnswer SolveApart(const SolverWork& work, double seconds, const ManualResetEvent* stop) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return SolveHere(work, stop);
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return SolveHere(work, stop);
    }
    if (child == 0) {
        close(fds[0]);
        AnswerFromChild(fds[1], work);
    }
    close(fds[1]);
    const ChildLimit limit(child, seconds);
    std::vector<char> data;
    IntegerAnswer::Status ended = IntegerAnswer::Status::Failed;
    bool finished = false;
    while (!finished) {
        if (stop != nullptr && stop->IsSet()) {
            ended = IntegerAnswer::Status::Stopped;
            break;
        }
        if (limit.Passed()) {
            ended = IntegerAnswer::Status::TimedOut;
            break;
        }
        pollfd ready{fds[0], POLLIN, 0};
        if (poll(&ready, 1, kPollMilliseconds) <= 0)
            continue;
        char buffer[1 << 16];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got > 0)
            data.insert(data.end(), buffer, buffer + got);
        if ((got > 0 && Whole(data)) || got == 0 || (got < 0 && errno != EINTR))
            finished = true;
    }
    close(fds[0]);
    if (!finished) {
        kill(child, SIGKILL);
        Reap(child);
        IntegerAnswer answer;
        answer.status = ended;
        return answer;
    }
    const int status = Reap(child);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        IntegerAnswer answer;
        answer.status = IntegerAnswer::Status::Failed;
        return answer;
    }
    return Read(data);
}

} // namespace pinsum
