#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "update/ftp_update_struct.h"

namespace pinsum {

class CFtpThread;

// What the update's progress dialog shows; the wx dialog implements it, the command line and the
// tests queue it. SetStatusText, SetProgress and PostTaskDone may be called on the worker thread
// and must only hand their values over to the dialog's thread.
class FtpProgressView {
public:
    virtual ~FtpProgressView() = default;
    // Windows-1250 text; the view keeps a copy.
    virtual void SetStatusText(const std::string& text) = 0;
    // 0 to 100.
    virtual void SetProgress(int percent) = 0;
    // Delivers WM_TASK_DONE (0, 0) to the dialog on its own thread, posted, not called.
    virtual void PostTaskDone() = 0;
    // Ends the modal show with this code: 1 after the worker's end, 0 when nothing could run.
    // Called on the dialog's thread.
    virtual void EndDialog(int code) = 0;
};

// Shows the update's progress dialog modally for one request and returns its end code: 1 when
// the worker has reported its end (the request's result tells the outcome), 0 when nothing ran.
// Called on the user-interface thread.
class FtpUpdateDialogRunner {
public:
    virtual ~FtpUpdateDialogRunner() = default;
    virtual int ShowModal(ftpUpdateStruct& request, FtpWork work) = 0;
};

// The behaviour of the update's progress dialog: started by its own posted WM_TASK_DONE, it runs
// the request on a CFtpThread, shows the worker's status text and percentage, asks the worker to
// stop on "Storno", and closes after the worker's first WM_TASK_DONE. Called on the dialog's
// thread, except OnNotify.
class FtpUpdateProgress {
public:
    // The request must outlive this object.
    FtpUpdateProgress(FtpProgressView& view, ftpUpdateStruct* request, FtpWork work);
    ~FtpUpdateProgress();
    FtpUpdateProgress(const FtpUpdateProgress&) = delete;
    FtpUpdateProgress& operator=(const FtpUpdateProgress&) = delete;

    // Posts the first WM_TASK_DONE; without a request or a server address it closes with 0.
    void OnInitDialog();
    // The first starts the worker, the next one ends the dialog; later ones are ignored.
    void OnTaskDone();
    // "Storno", Escape: only asks the running worker to stop.
    void OnCancel();
    bool WorkerRunning() const { return m_thread != nullptr; }

private:
    // The request's notify; runs on the worker thread.
    void OnNotify(uint32_t message, uintptr_t first, uintptr_t second);
    void Start();

    FtpProgressView& m_view;
    ftpUpdateStruct* m_request;
    FtpWork m_work;
    std::unique_ptr<CFtpThread> m_thread;
    bool m_closed = false;
};

} // namespace pinsum
