#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "host/worker_thread.h"

namespace pinsum {

struct CompileRequest;

// The search worker: runs the project's search at idle priority, reports WM_TASK_DONE through
// the request's callback, then waits for its stop event before it ends. The callback is called on
// the worker thread, under NotificationLock.
class CioCompileThread {
public:
    explicit CioCompileThread(CompileRequest* request);
    CioCompileThread(const CioCompileThread&) = delete;
    CioCompileThread& operator=(const CioCompileThread&) = delete;

    // Starts the thread; false when it cannot be created.
    bool Start();
    // Sends a status text to the owner under the workers' shared lock; called on the worker.
    void ReportState(const std::string& text);
    void RequestStop() { m_worker.RequestStop(); }
    ManualResetEvent& StopEvent() { return m_worker.StopEvent(); }

    // Sets the stop event when needed, raises the worker's priority, waits for it to end and
    // deletes it.
    static void StopAndDelete(std::unique_ptr<CioCompileThread>& worker);

    // Serialises the callback calls of every search worker.
    static std::mutex& NotificationLock();

private:
    void Run();
    void Notify(uint32_t message, uintptr_t first, uintptr_t second);

    CompileRequest* m_request;
    // Last, so that the thread has ended before anything it uses is destroyed.
    WorkerThread m_worker;
};

} // namespace pinsum
