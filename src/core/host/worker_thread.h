#pragma once

#include <functional>
#include <thread>

#include "host/manual_reset_event.h"

namespace pinsum {

// The thread under both workers (search and FTP): runs one task at idle priority, so that the
// user interface stays responsive, and owns the stop event the task polls. The task normally
// ends by waiting for that event, so the owner decides when the thread may end.
// Start, RequestStop and StopAndJoin are called on the owner's (user-interface) thread.
class WorkerThread {
public:
    WorkerThread() = default;
    // Sets the stop event and waits for the task to end.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts the task on a new thread; false when the thread cannot be created. An exception the
    // task lets go ends the task, not the program.
    bool Start(std::function<void()> task);
    // Sets the stop event and gives the thread normal priority again, so that a busy machine
    // cannot starve the task on its way to the end.
    void RequestStop();
    ManualResetEvent& StopEvent() { return m_stop; }
    // RequestStop, then waits for the task to end.
    void StopAndJoin();

private:
    ManualResetEvent m_stop;
    std::thread m_thread;
};

} // namespace pinsum
