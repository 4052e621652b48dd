#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "solver/manual_reset_event.h"

namespace pinsum {

struct CompileRequest;

// The search worker: runs the project's search at idle priority, reports WM_TASK_DONE through
// the request's callback, then waits for its stop event before it ends.
class CioCompileThread {
public:
    explicit CioCompileThread(CompileRequest* request);
    ~CioCompileThread();
    CioCompileThread(const CioCompileThread&) = delete;
    CioCompileThread& operator=(const CioCompileThread&) = delete;

    // Starts the thread; false when it cannot be created.
    bool Start();
    // Sends a status text to the owner under the workers' shared lock.
    void ReportState(const std::string& text);
    void RequestStop() { m_stop.Set(); }
    ManualResetEvent& StopEvent() { return m_stop; }

    // Sets the stop event when needed, raises the worker's priority, waits for it to end and
    // deletes it.
    static void StopAndDelete(std::unique_ptr<CioCompileThread>& worker);

    // Serialises the callback calls of every search worker.
    static std::mutex& NotificationLock();

private:
    void Run();
    void Notify(uint32_t message, uintptr_t first, uintptr_t second);

    CompileRequest* m_request;
    ManualResetEvent m_stop;
    std::thread m_thread;
};

// Runs on the calling thread and asks the platform to schedule it only when nothing else wants
// the processor; Raise undoes it.
void LowerToIdlePriority();
void RaiseToNormalPriority(std::thread& thread);

} // namespace pinsum
