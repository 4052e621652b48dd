#include "update/ftp_update_dialog.h"

#include <wx/button.h>

#include "common/dialog_units.h"
#include "common/ui_ids.h"
#include "common/ui_texts.h"
#include "common/wx_invoke.h"
#include "common/wx_text.h"

namespace pinsum::ui {

CFtpUpdateDialog::CFtpUpdateDialog(wxWindow* parent, ftpUpdateStruct* request, FtpWork work)
    : wxDialog(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxBORDER_RAISED) {
    UseDialogFont(this);
    SetClientSize(DialogSize(this, 138, 62));
    const wxRect status = DialogRect(this, 7, 7, 124, 14);
    m_status = new wxStaticText(this, ID_STATUS_TEXT, wxString(), status.GetPosition(),
                                status.GetSize(), wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    const wxRect bar = DialogRect(this, 7, 26, 124, 9);
    m_bar = new wxGauge(this, ID_PROGRESS_BAR, 100, bar.GetPosition(), bar.GetSize());
    const wxRect cancel = DialogRect(this, 35, 41, 70, 14);
    new wxButton(this, wxID_CANCEL, Text(UiText::ButtonCancel), cancel.GetPosition(),
                 cancel.GetSize());
    m_progress = std::make_unique<FtpUpdateProgress>(*this, request, work);

    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
        event.Skip();
        m_bar->SetRange(100);
        m_bar->SetValue(0);
        // Once the modal loop runs, so that a dialog with nothing to do can close.
        PostToUi(*this, [this] { m_progress->OnInitDialog(); });
    });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { m_progress->OnCancel(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (event.CanVeto()) {
            event.Veto();
            m_progress->OnCancel();
            return;
        }
        event.Skip();
    });
    CentreOnParent();
}

CFtpUpdateDialog::~CFtpUpdateDialog() = default;

int CFtpUpdateDialog::Run() {
    ShowModal();
    return m_code;
}

void CFtpUpdateDialog::SetStatusText(const std::string& text) {
    PostToUi(*this, [this, shown = FromModel(text)] { m_status->SetLabel(shown); });
}

void CFtpUpdateDialog::SetProgress(int percent) {
    PostToUi(*this, [this, percent] { m_bar->SetValue(std::clamp(percent, 0, 100)); });
}

void CFtpUpdateDialog::PostTaskDone() {
    PostToUi(*this, [this] { m_progress->OnTaskDone(); });
}

void CFtpUpdateDialog::EndDialog(int code) {
    m_code = code;
    if (IsModal())
        EndModal(code != 0 ? wxID_OK : wxID_CANCEL);
    else
        Hide();
}

int WxUpdateDialogRunner::ShowModal(ftpUpdateStruct& request, FtpWork work) {
    CFtpUpdateDialog dialog(m_parent, &request, work);
    return dialog.Run();
}

} // namespace pinsum::ui
