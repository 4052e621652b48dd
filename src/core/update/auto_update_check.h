#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "update/ftp_update_struct.h"

namespace pinsum {

class CFtpThread;
class Settings;
class UpdateFlows;

// The calculator's host dialog as its automatic update check sees it.
// Called on the user-interface thread, except where PostTaskDone says otherwise.
class AutoUpdateHost {
public:
    virtual ~AutoUpdateHost() = default;
    // Posts WM_TASK_DONE (first, 0) to the host; may be called on the worker thread.
    virtual void PostTaskDone(uintptr_t first) = 0;
    // The host's status line (Windows-1250).
    virtual void SetStatusLine(const std::string& text) = 0;
    // Restarts the project from the newly installed catalogue.
    virtual void RestartProject() = 0;
};

// The automatic update check of the host dialog: at most one per opening, on a worker thread. It
// stays silent unless the server holds a newer catalogue, and then offers to install it.
class AutoUpdateCheck {
public:
    AutoUpdateCheck(AutoUpdateHost& host, UpdateFlows& flows);
    // Waits for a running check, as Close.
    ~AutoUpdateCheck();
    AutoUpdateCheck(const AutoUpdateCheck&) = delete;
    AutoUpdateCheck& operator=(const AutoUpdateCheck&) = delete;

    // The end of the host's initialisation: posts WM_TASK_DONE (0, 0) when "Autoupdate" is on.
    void OnHostInitialised(Settings& settings);
    // The host's WM_TASK_DONE handler: (0, 0) starts the check, (this check's thread, 0) ends it.
    // False for a message that is not the check's (the solver's).
    bool OnTaskDone(uintptr_t first, uintptr_t second);
    // The host closes: waits for a running check to end, without cancelling it.
    void Close();
    bool Running() const { return m_thread != nullptr; }
    UpdateResult LastResult() const { return m_request.result; }

private:
    void Start();
    void Finish();
    // The request's notify; runs on the worker thread.
    void OnNotify(uint32_t message);

    AutoUpdateHost& m_host;
    UpdateFlows& m_flows;
    ftpUpdateStruct m_request;
    std::unique_ptr<CFtpThread> m_thread;
    // The thread reports its end twice; only the first reaches the host.
    std::atomic<bool> m_endPosted{false};
};

} // namespace pinsum
