// What emscripten's C library leaves out when it is built without threads.
#include <cerrno>
#include <pthread.h>

// The engine's worker threads lower and raise their priority with this; the page never starts
// one (its search runs in a Web Worker instead), so there is nothing to schedule.
extern "C" int pthread_setschedparam(pthread_t, int, const sched_param*) {
    return ENOSYS;
}
