#pragma once

#include <memory>

#include <wx/dialog.h>
#include <wx/stattext.h>

#include "common/wx_messenger.h"
#include "solver/compile_progress.h"

namespace pinsum::ui {

// The search's progress dialog: starts the search worker when it opens, shows the worker's
// texts, asks it to stop on "Ukončit řešení" or Escape, and closes with OK once the worker has
// reported its end. The caller then reads the project's solutions.
class CIoCompileDialog : public wxDialog, public CompileProgressView {
public:
    // exact, when given, runs beside the search behind the same status and cancel.
    CIoCompileDialog(wxWindow* parent, CioProject* project, int thoroughness,
                     ExactStep* exact = nullptr);
    ~CIoCompileDialog() override;

    // CompileProgressView; the first two are called on the worker too.
    void SetStatusText(const std::string& text) override;
    void PostTaskDone() override;
    void EndDialog(bool ok) override;

    wxStaticText* Status() const { return m_status; }
    bool SearchRunning() const { return m_progress->WorkerRunning(); }

private:
    wxStaticText* m_status;
    WxMessenger m_messenger;
    std::unique_ptr<CompileProgress> m_progress;
};

} // namespace pinsum::ui
