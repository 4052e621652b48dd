#pragma once

#include <memory>
#include <string>

#include "solver/compile_request.h"

namespace pinsum {

class CioCompileThread;
class CioProject;

// What the progress dialog shows; the wx dialog implements it, tests record it.
// SetStatusText and PostTaskDone are called on the search worker too, so they must only hand
// their values over to the dialog's thread.
class CompileProgressView {
public:
    virtual ~CompileProgressView() = default;
    // Called on the worker while it searches, and on the dialog's thread before it starts.
    virtual void SetStatusText(const std::string& text) = 0;
    // Delivers WM_TASK_DONE to the dialog on its own thread (posted, not called).
    // Called on the dialog's thread from OnInitDialog and on the worker when the search ends.
    virtual void PostTaskDone() = 0;
    // Called on the dialog's thread.
    virtual void EndDialog(bool ok) = 0;
};

// The behaviour of the search progress dialog: it starts the worker when it receives
// WM_TASK_DONE the first time, only requests a stop when cancelled, and closes after the worker
// has reported. Called on the dialog's thread, except OnNotify.
class CompileProgress {
public:
    CompileProgress(CompileProgressView& view, CioProject* project, int thoroughness,
                    Messenger* messenger = nullptr);
    ~CompileProgress();

    // Runs the exact mode with the search, or instead of it; set before the worker starts.
    void SetExact(ExactStep* exact, bool exactOnly) {
        m_exact = exact;
        m_exactOnly = exactOnly;
    }
    // Posts the first WM_TASK_DONE when there is a project to search.
    void OnInitDialog();
    void OnTaskDone();
    void OnCancel();
    // The worker's callback; runs on the worker thread, under its notification lock.
    void OnNotify(uint32_t message, uintptr_t first);
    bool WorkerRunning() const { return m_worker != nullptr; }

private:
    CompileProgressView& m_view;
    CioProject* m_project;
    int m_thoroughness;
    Messenger* m_messenger;
    ExactStep* m_exact = nullptr;
    bool m_exactOnly = false;
    CompileRequest m_request;
    std::unique_ptr<CioCompileThread> m_worker;
};

} // namespace pinsum
