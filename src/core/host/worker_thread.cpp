#include "host/worker_thread.h"

#include <pthread.h>
#include <sched.h>

#include <system_error>

namespace pinsum {
namespace {

void LowerToIdlePriority() {
    sched_param param{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
}

void RaiseToNormalPriority(std::thread& thread) {
    sched_param param{};
    pthread_setschedparam(thread.native_handle(), SCHED_OTHER, &param);
}

} // namespace

WorkerThread::~WorkerThread() {
    StopAndJoin();
}

bool WorkerThread::Start(std::function<void()> task) {
    try {
        m_thread = std::thread([task = std::move(task)] {
            LowerToIdlePriority();
            // An exception leaving a thread ends the whole program; the tasks report their own
            // failures, and this is only the last guard.
            try {
                task();
            } catch (...) {
            }
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WorkerThread::RequestStop() {
    m_stop.Set();
    if (m_thread.joinable())
        RaiseToNormalPriority(m_thread);
}

void WorkerThread::StopAndJoin() {
    RequestStop();
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace pinsum
