#include "interrupt_route.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace pinsum::cli {
namespace {

std::atomic<bool> g_interrupted{false};
// The wake-up descriptor while a route lives, else -1.
std::atomic<int> g_wakeFd{-1};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler uses them");

void OnInterrupt(int) {
    const int savedErrno = errno;
    g_interrupted = true;
    const int fd = g_wakeFd.load();
    if (fd >= 0) {
        const char cancel = 'C';
        [[maybe_unused]] const ssize_t written = write(fd, &cancel, 1);
    }
    errno = savedErrno;
}

} // namespace

InterruptRoute::InterruptRoute(int wakeFd) {
    g_interrupted = false;
    g_wakeFd = wakeFd;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, &m_previous);
}

InterruptRoute::~InterruptRoute() {
    sigaction(SIGINT, &m_previous, nullptr);
    g_wakeFd = -1;
}

bool InterruptRoute::Interrupted() {
    return g_interrupted.load();
}

} // namespace pinsum::cli
