// pinsum-exact-solver: reads an encoded exact-mode job on its standard input, solves it with Clp
// and CBC and writes the encoded answer on its standard output. The program that starts it
// watches it and ends it on a cancel.
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "exact/exact_search.h"
#include "host/file_io.h"

namespace {

// The answer goes to the standard output as it was; whatever CBC prints goes nowhere.
int AnswerChannel() {
    const int answer = dup(STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        close(null);
    }
    return answer;
}

} // namespace

int main() {
    // The thread that started the solver waits for it; if that thread is gone, so is the solve.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int answer = AnswerChannel();
    if (answer < 0)
        return 1;
    const std::string bytes((std::istreambuf_iterator<char>(std::cin)),
                            std::istreambuf_iterator<char>());
    const std::optional<pinsum::ExactJob> job = pinsum::DecodeJob(bytes);
    if (!job)
        return 2;
    const pinsum::IntegerAnswer solved =
        pinsum::SolveExact(job->exact, job->seconds, job->firstColumns, nullptr);
    const std::string encoded = pinsum::EncodeAnswer(solved);
    return pinsum::WriteAllTo(answer, encoded.data(), encoded.size()) ? 0 : 1;
}
