#pragma once

#include <memory>

#include <wx/dialog.h>

#include "calc/calculator_panel.h"
#include "common/wx_messenger.h"
#include "common/wx_settings.h"
#include "exact/exact_solver.h"
#include "model/cio_project.h"
#include "solver/compile_progress.h"
#include "update/auto_update_check.h"
#include "update/ftp_update_dialog.h"
#include "update/update_flows.h"

namespace pinsum::ui {

class CPinsumDialog;

// The form as the host dialog uses it: the search in the background, "Ukončit ", the update
// commands, and closing the dialog with Enter and Escape.
class HostCalculatorPanel : public CalculatorPanel {
public:
    explicit HostCalculatorPanel(CPinsumDialog& dialog);

protected:
    void StartSearch(SearchMode mode) override;
    bool SearchRunning() const override;
    void ApplyStoredTreeState() override { SyncTreeState(false); }
    bool OnEnterElsewhere() override;
    bool OnEscape() override;
    bool OnHostCommand(int command) override;
    bool HostCommandState(int command, bool& enabled, bool& checked) const override;
    bool WheelMovesList() const override { return true; }
    bool EnterEditsTerminalCount() const override { return true; }

private:
    CPinsumDialog& m_dialog;
};

// The calculator as one modal dialog ("Kalkulátor IO bodů"): the form with the search running in
// the background, stopped by "Ukončit ", the database update and its automatic check. It owns
// its project; a missing or unreadable catalogue is reported once and leaves the trees empty.
class CPinsumDialog : public wxDialog, public AutoUpdateHost {
public:
    // settings: the store of "Autoupdate"; none uses the user's configuration.
    explicit CPinsumDialog(wxWindow* parent, std::unique_ptr<Settings> settings = nullptr);
    ~CPinsumDialog() override;

    CioProject& Project() { return m_project; }
    HostCalculatorPanel& Form() const { return *m_form; }
    bool SearchRunning() const;
    bool UpdateRunning() const;
    Settings& SettingsStore() { return *m_settings; }

    // Starts the background search ("Spustit", 52109), with the exact mode for "Nejlevnější
    // řešení".
    void StartSearch(SearchMode mode);
    // "Ukončit " and message 1049: asks the running search to stop.
    void StopSearch();
    // Closing (OK and Cancel): refused while the help is shown or a search runs.
    void TryClose(int code);
    // The manual update (52123).
    void OnUpdateDatabase();
    // Restarts the project from the catalogue file (after an installed update); waits for a
    // running search to end first.
    void RestartProject() override;

private:
    class SearchView;

    void LoadCatalogue();
    void OnSearchEnded();
    void SetBusy();
    // AutoUpdateHost
    void PostTaskDone(uintptr_t first) override;
    void SetStatusLine(const std::string& text) override;

    CioProject m_project;
    std::unique_ptr<Settings> m_settings;
    WxMessenger m_messenger;
    WxUpdateDialogRunner m_updateDialog;
    std::unique_ptr<UpdateFlows> m_flows;
    std::unique_ptr<AutoUpdateCheck> m_autoUpdate;
    std::unique_ptr<SearchView> m_searchView;
    CbcExactStep m_exact;
    std::unique_ptr<CompileProgress> m_search;
    bool m_restartPending = false;
    HostCalculatorPanel* m_form = nullptr;

    friend class HostCalculatorPanel;
};

} // namespace pinsum::ui
