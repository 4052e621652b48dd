#include "calc/compile_dialog.h"

#include <wx/button.h>

#include "common/dialog_units.h"
#include "common/ui_ids.h"
#include "common/ui_texts.h"
#include "common/wx_invoke.h"
#include "common/wx_text.h"

namespace pinsum::ui {

CIoCompileDialog::CIoCompileDialog(wxWindow* parent, CioProject* project, int thoroughness,
                                   ExactStep* exact)
    : wxDialog(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxBORDER_RAISED),
      m_messenger(this) {
    UseDialogFont(this);
    SetClientSize(DialogSize(this, 138, 50));
    const wxRect status = DialogRect(this, 7, 7, 124, 14);
    m_status = new wxStaticText(this, ID_STATUS_TEXT, wxString(), status.GetPosition(),
                                status.GetSize(), wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    const wxRect cancel = DialogRect(this, 35, 29, 70, 14);
    new wxButton(this, wxID_CANCEL, Text(UiText::ButtonStopSearch), cancel.GetPosition(),
                 cancel.GetSize());
    m_progress = std::make_unique<CompileProgress>(*this, project, thoroughness, &m_messenger);
    m_progress->SetExact(exact, false);

    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
        event.Skip();
        m_progress->OnInitDialog();
    });
    // Cancelling only asks the worker to stop; the dialog closes when the worker has reported.
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { m_progress->OnCancel(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (event.CanVeto() && m_progress->WorkerRunning()) {
            event.Veto();
            m_progress->OnCancel();
            return;
        }
        event.Skip();
    });
    CentreOnParent();
}

CIoCompileDialog::~CIoCompileDialog() = default;

void CIoCompileDialog::SetStatusText(const std::string& text) {
    PostToUi(*this, [this, shown = FromModel(text)] { m_status->SetLabel(shown); });
}

void CIoCompileDialog::PostTaskDone() {
    PostToUi(*this, [this] { m_progress->OnTaskDone(); });
}

void CIoCompileDialog::EndDialog(bool ok) {
    if (IsModal())
        EndModal(ok ? wxID_OK : wxID_CANCEL);
    else
        Hide();
}

} // namespace pinsum::ui
