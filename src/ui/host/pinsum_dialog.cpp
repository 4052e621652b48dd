#include "host/pinsum_dialog.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>

#include "common/ui_ids.h"
#include "common/ui_texts.h"
#include "common/wx_invoke.h"
#include "common/wx_text.h"
#include "host/auto_update_setting.h"
#include "host/program_folders.h"
#include "solver/search_level.h"
#include "update/ftp_config.h"

namespace pinsum::ui {

// The background search's view: the worker's texts go to label 4218, its end back to the dialog.
class CPinsumDialog::SearchView : public CompileProgressView {
public:
    explicit SearchView(CPinsumDialog& dialog) : m_dialog(dialog) {}

    void SetStatusText(const std::string& text) override {
        PostToUi(m_dialog,
                 [this, shown = FromModel(text)] { m_dialog.Form().Caption()->SetLabel(shown); });
    }
    void PostTaskDone() override {
        PostToUi(m_dialog, [this] {
            if (m_dialog.m_search != nullptr)
                m_dialog.m_search->OnTaskDone();
        });
    }
    void EndDialog(bool) override { m_dialog.OnSearchEnded(); }

private:
    CPinsumDialog& m_dialog;
};

HostCalculatorPanel::HostCalculatorPanel(CPinsumDialog& dialog)
    : CalculatorPanel(&dialog, true), m_dialog(dialog) {
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { m_dialog.StopSearch(); }, ID_BUTTON_STOP);
}

void HostCalculatorPanel::StartSearch(SearchMode mode) {
    m_dialog.StartSearch(mode);
}

bool HostCalculatorPanel::SearchRunning() const {
    return m_dialog.SearchRunning();
}

bool HostCalculatorPanel::OnEnterElsewhere() {
    m_dialog.TryClose(wxID_OK);
    return true;
}

bool HostCalculatorPanel::OnEscape() {
    m_dialog.TryClose(wxID_CANCEL);
    return true;
}

bool HostCalculatorPanel::OnHostCommand(int command) {
    bool enabled = false;
    bool checked = false;
    if (!HostCommandState(command, enabled, checked))
        return false;
    if (!enabled)
        return true;
    switch (command) {
    case ID_RESULT_NEXT:
        OnButtonNext();
        break;
    case ID_RESULT_PREVIOUS:
        OnButtonPrevious();
        break;
    case ID_UPDATE_DATABASE:
        ToolTip().HideTip();
        m_dialog.OnUpdateDatabase();
        break;
    case ID_AUTO_UPDATE:
        WriteAutoUpdate(m_dialog.SettingsStore(), !ReadAutoUpdate(m_dialog.SettingsStore()));
        break;
    default:
        break;
    }
    return true;
}

bool HostCalculatorPanel::HostCommandState(int command, bool& enabled, bool& checked) const {
    const bool idle = !SearchRunning();
    switch (command) {
    case ID_RESULT_NEXT:
        enabled = idle && CurrentIndex() < SolutionCount() - 1 && SolutionCount() > 0;
        return true;
    case ID_RESULT_PREVIOUS:
        enabled = idle && CurrentIndex() >= 1 && SolutionCount() >= 1;
        return true;
    case ID_UPDATE_DATABASE:
        enabled = !m_dialog.UpdateRunning();
        return true;
    case ID_AUTO_UPDATE:
        enabled = true;
        checked = ReadAutoUpdate(m_dialog.SettingsStore());
        return true;
    case ID_RESULT_TERMINAL_NO:
    case ID_RESULT_FIRST:
    case ID_RESULT_LAST:
        enabled = false;
        return true;
    default:
        return false;
    }
}

CPinsumDialog::CPinsumDialog(wxWindow* parent, std::unique_ptr<Settings> settings)
    : wxDialog(parent, wxID_ANY, Text(UiText::HostCaption), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      m_settings(settings != nullptr ? std::move(settings) : std::make_unique<WxConfigSettings>()),
      m_messenger(this), m_updateDialog(this), m_searchView(std::make_unique<SearchView>(*this)) {
    LoadCatalogue();
    m_form = new HostCalculatorPanel(*this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_form, 1, wxEXPAND);
    SetSizerAndFit(sizer);
    m_form->SetLevel(SearchLevel());
    m_form->SetProject(&m_project);
    m_form->FillFromProject();

    FtpConfig server;
    try {
        server = LoadFtpConfig(ProgramFolder());
    } catch (const FtpConfigError&) {
        // The automatic check then fails silently; the manual update reports the file.
    }
    m_flows = std::make_unique<UpdateFlows>(server, ProgramFolder(), m_messenger, m_updateDialog);
    m_autoUpdate = std::make_unique<AutoUpdateCheck>(*this, *m_flows);

    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (event.CanVeto() && (SearchRunning() || m_form->ToolTip().IsVisible())) {
            TryClose(wxID_CANCEL);
            event.Veto();
            return;
        }
        TryClose(wxID_CANCEL);
    });
    Bind(wxEVT_SET_CURSOR, [this](wxSetCursorEvent& event) {
        if (SearchRunning() || UpdateRunning())
            event.SetCursor(wxCursor(wxCURSOR_ARROWWAIT));
        else
            event.Skip();
    });
    CentreOnScreen();
    m_autoUpdate->OnHostInitialised(*m_settings);
}

CPinsumDialog::~CPinsumDialog() {
    // The workers post to this window: they end before it goes. A search still asking a
    // question would wait for this thread forever, so its questions are answered unseen and its
    // end is handled here.
    m_messenger.Silence();
    if (SearchRunning()) {
        m_search->OnCancel();
        while (SearchRunning()) {
            // The application's queue holds this window's events as well.
            wxTheApp->ProcessPendingEvents();
            wxMilliSleep(2);
        }
    }
    m_search.reset();
    m_autoUpdate.reset();
    m_form->SetProject(nullptr);
}

void CPinsumDialog::LoadCatalogue() {
    const auto path = FindDataFile(kDatabaseFileName);
    wxString problem;
    if (!path) {
        problem = Text(UiText::CatalogueMissing);
    } else {
        std::string error;
        if (m_project.LoadDatabase(nullptr, &m_messenger, nullptr, &error) == 0 ||
            m_project.database == nullptr)
            problem =
                Format(UiText::CatalogueUnreadable, {error.empty() ? std::string(*path) : error});
    }
    if (!problem.empty())
        PostToUi(*this, [this, problem] {
            wxMessageDialog box(this, problem, Text(UiText::HostCaption), wxOK | wxICON_ERROR);
            box.ShowModal();
        });
}

bool CPinsumDialog::SearchRunning() const {
    return m_search != nullptr && m_search->WorkerRunning();
}

bool CPinsumDialog::UpdateRunning() const {
    return m_autoUpdate != nullptr && m_autoUpdate->Running();
}

void CPinsumDialog::SetBusy() {
    // The cursor follows through wxEVT_SET_CURSOR; this makes it change without a mouse move.
    const bool busy = SearchRunning() || UpdateRunning();
    wxSetCursor(busy ? wxCursor(wxCURSOR_ARROWWAIT) : wxNullCursor);
}

void CPinsumDialog::StartSearch(SearchMode mode) {
    m_form->ToolTip().HideTip();
    if (SearchRunning() || !m_form->ReadControls(false))
        return;
    m_form->SyncTreeState(true);
    m_form->List()->DeleteAllRows();
    m_form->Caption()->SetLabel(wxString());
    m_search.reset();
    m_search =
        std::make_unique<CompileProgress>(*m_searchView, &m_project, m_form->Level(), &m_messenger);
    m_search->SetExact(mode == SearchMode::WithExact ? &m_exact : nullptr, false);
    m_search->OnTaskDone();
    m_form->EnableButtons();
    SetBusy();
}

void CPinsumDialog::StopSearch() {
    if (SearchRunning())
        m_search->OnCancel();
    m_form->EnableButtons();
}

void CPinsumDialog::OnSearchEnded() {
    m_form->ShowSolution(0);
    m_form->List()->Rows().SetFocus();
    m_form->EnableButtons();
    SetBusy();
    if (m_restartPending) {
        m_restartPending = false;
        RestartProject();
    }
}

void CPinsumDialog::TryClose(int code) {
    if (m_form->ToolTip().IsVisible()) {
        m_form->ToolTip().HideTip();
        return;
    }
    if (SearchRunning())
        return;
    if (m_autoUpdate != nullptr)
        m_autoUpdate->Close();
    if (IsModal()) {
        EndModal(code);
    } else {
        SetReturnCode(code);
        Hide();
    }
}

void CPinsumDialog::OnUpdateDatabase() {
    // The running check holds the flows; the command is disabled meanwhile.
    if (UpdateRunning())
        return;
    try {
        m_flows = std::make_unique<UpdateFlows>(LoadFtpConfig(ProgramFolder()), ProgramFolder(),
                                                m_messenger, m_updateDialog);
    } catch (const FtpConfigError& e) {
        wxMessageDialog box(this, Format(UiText::UpdateConfigError, {e.what()}),
                            Text(UiText::HostCaption), wxOK | wxICON_ERROR);
        box.ShowModal();
        return;
    }
    // The automatic check holds the flows it was made with; it takes the new ones.
    m_autoUpdate = std::make_unique<AutoUpdateCheck>(*this, *m_flows);
    if (m_flows->UpdateDatabase(false) == FlowEnd::Done && m_flows->AskRestart())
        RestartProject();
}

void CPinsumDialog::RestartProject() {
    // The search works on this project until it has reported; the restart follows its end.
    if (SearchRunning()) {
        m_restartPending = true;
        StopSearch();
        return;
    }
    m_form->OnClearInputList();
    m_form->ClearForm();
    LoadCatalogue();
    m_form->FillFromProject();
}

void CPinsumDialog::PostTaskDone(uintptr_t first) {
    PostToUi(*this, [this, first] {
        if (m_autoUpdate != nullptr)
            m_autoUpdate->OnTaskDone(first, 0);
        SetBusy();
    });
}

void CPinsumDialog::SetStatusLine(const std::string& text) {
    m_form->Caption()->SetLabel(FromModel(text));
    SetBusy();
}

} // namespace pinsum::ui
