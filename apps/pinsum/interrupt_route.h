#pragma once

#include <csignal>

namespace pinsum::cli {

// Makes Ctrl+C a cancel request while it lives: the handler sets a flag and, when a wake-up
// descriptor is given, writes one byte ('C') to it so that a waiting main loop wakes. The handler
// resets itself, so that a second Ctrl+C ends a program whose work does not stop.
class InterruptRoute {
public:
    explicit InterruptRoute(int wakeFd = -1);
    ~InterruptRoute();
    InterruptRoute(const InterruptRoute&) = delete;
    InterruptRoute& operator=(const InterruptRoute&) = delete;

    // True once Ctrl+C was pressed while the route lived.
    static bool Interrupted();

private:
    struct sigaction m_previous {};
};

} // namespace pinsum::cli
