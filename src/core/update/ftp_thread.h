#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "host/worker_thread.h"

namespace pinsum {

struct ftpUpdateStruct;

// Runs one FTP request at idle priority. When the work routine has ended the request's notify
// hears WM_TASK_DONE twice (from the routine's clean-up, then from the thread itself); the owner
// acts on the first and ignores the second. The thread then waits for its stop event, so it
// lives until the owner calls StopAndDelete.
class CFtpThread {
public:
    explicit CFtpThread(ftpUpdateStruct* request);
    CFtpThread(const CFtpThread&) = delete;
    CFtpThread& operator=(const CFtpThread&) = delete;

    // Starts the thread; false when it cannot be created.
    bool CreateThread();
    // Asks the running work routine to stop at its next check point.
    void RequestCancel();

    // Signals the stop event, raises the thread's priority, waits for it to end and deletes it.
    // The stop event does not interrupt a transfer, so this blocks until the work has ended.
    static void StopAndDelete(std::unique_ptr<CFtpThread>& thread);

    // Held around every notify call of every request, for the life of the process.
    static std::mutex& NotificationLock();

private:
    void InitInstance();

    ftpUpdateStruct* m_request;
    // Last, so that the thread has ended before anything it uses is destroyed.
    WorkerThread m_worker;
};

// Sends WM_TASK_STATE (text or none, percent) to the request's owner. Only a request run by a
// thread reports; a run on the calling thread sends nothing.
void ReportState(ftpUpdateStruct* request, const std::string* text, uint32_t percent);
// Sends WM_TASK_DONE (0, 0) under the same rule.
void ReportDone(ftpUpdateStruct* request);

} // namespace pinsum
