#pragma once

#include <memory>

#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/stattext.h>

#include "update/ftp_update_progress.h"

namespace pinsum::ui {

// The update's progress dialog: runs one FTP request on a worker, shows its status text and
// percentage, and on "Storno" (or Escape) only asks the transfer to stop; it closes once the
// worker has reported its end.
class CFtpUpdateDialog : public wxDialog, public FtpProgressView {
public:
    // The request must outlive the dialog.
    CFtpUpdateDialog(wxWindow* parent, ftpUpdateStruct* request, FtpWork work);
    ~CFtpUpdateDialog() override;

    // 1 when the worker reported its end, 0 when nothing ran.
    int Run();

    void SetStatusText(const std::string& text) override;
    void SetProgress(int percent) override;
    void PostTaskDone() override;
    void EndDialog(int code) override;

    wxStaticText* Status() const { return m_status; }
    wxGauge* Bar() const { return m_bar; }

private:
    wxStaticText* m_status;
    wxGauge* m_bar;
    std::unique_ptr<FtpUpdateProgress> m_progress;
    int m_code = 0;
};

// Shows the dialog modally for the engine's update flows.
class WxUpdateDialogRunner : public FtpUpdateDialogRunner {
public:
    explicit WxUpdateDialogRunner(wxWindow* parent = nullptr) : m_parent(parent) {}
    int ShowModal(ftpUpdateStruct& request, FtpWork work) override;

private:
    wxWindow* m_parent;
};

} // namespace pinsum::ui
