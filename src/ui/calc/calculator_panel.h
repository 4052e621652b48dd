#pragma once

#include <memory>
#include <vector>

#include <wx/button.h>
#include <wx/panel.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include "calc/count_dialog.h"
#include "controls/result_list.h"
#include "controls/wx_tree_control.h"
#include "helptext/help_tooltip_window.h"

namespace pinsum {
class CioNode;
class CioProject;
} // namespace pinsum

namespace pinsum::ui {

// "Spustit" and 52109 run the search; "Nejlevnější řešení" runs the exact mode with it.
enum class SearchMode { SearchOnly, WithExact };

// The calculator's form, shared by the host dialog and the calculator view: the three trees, the
// result list, the browsing buttons, the level slider and the search buttons, with everything
// both do alike (filling, browsing, counts, check boxes, help, report, clipboard, keys and
// wheel). What differs, above all how a search runs, is left to the owner's overrides.
class CalculatorPanel : public wxPanel {
public:
    // withVersion adds the "Kalkulátor Verze:" line the host dialog shows.
    CalculatorPanel(wxWindow* parent, bool withVersion);
    ~CalculatorPanel() override;

    // The project shown; none leaves every tree empty and the commands that need one idle.
    void SetProject(CioProject* project) { m_project = project; }
    CioProject* Project() const { return m_project; }

    // Fills the trees from the project and shows its first solution (the form's initial update).
    void FillFromProject();
    // Empties the trees and the list, as before a new catalogue.
    void ClearForm();

    void EnableButtons();
    // Shows solution n (1-based, as typed), within the solutions there are.
    void UpdateResultDirect(int number);
    // Copies the check boxes of the "Pro návrh použít" and terminal trees into the objects
    // (toObjects) or back; the first only while the owner's document is modified.
    void UpdateCheckList(bool toObjects);
    // Copies expanded, selected and checked of those trees into the objects (read) or back.
    void SyncTreeState(bool read);
    // Sets the counts of the request items under item (every item: kNoItem) to 0.
    void ClearIoNode(TreeItem item);
    void ClearTerminalNode(TreeItem item);

    // The commands both owners handle.
    void OnButtonNext();
    void OnButtonPrevious();
    void OnButtonStart();
    void OnButtonEnd();
    void OnClearInputList();
    void OnShowSolutionDetail();
    void OnExportToClip();
    void OnResultHelp();
    // "Načíst seznam signálů…"; the PDF quotation of "Uložit nabídku…" needs nothing of the form
    // but the solution shown.
    void OnLoadSignalList();

    // Shows the solution with this index (0-based) and takes the count the project returns.
    void ShowSolution(int index);
    // Posts UPDSTREE for an item of the "Pro návrh použít" tree, or (kNoItem) for the refresh
    // of every check box from the objects.
    void PostUpdateTree(TreeItem item);
    // Reads the level slider and, in the typed-number case, the number field (with its range
    // check); false after the range message.
    bool ReadControls(bool typedNumber);

    int SolutionCount() const { return m_count; }
    int CurrentIndex() const { return m_index; }
    int Level() const { return m_level; }
    void SetLevel(int level);

    ResultList* List() const { return m_list; }
    wxTreeCtrl* IoTree() const { return m_ioTreeCtrl; }
    wxTreeCtrl* TerminalTree() const { return m_terminalTreeCtrl; }
    wxTreeCtrl* SelectorTree() const { return m_selectorTreeCtrl; }
    WxTreeControl& IoTreeControl() { return *m_ioTree; }
    WxTreeControl& TerminalTreeControl() { return *m_terminalTree; }
    WxTreeControl& SelectorTreeControl() { return *m_selectorTree; }
    wxStaticText* Caption() const { return m_caption; }
    wxTextCtrl* NumberField() const { return m_number; }
    CHelpToolTip& ToolTip() { return *m_tip; }

protected:
    // How a search starts: in the background (host dialog) or behind the progress dialog (view).
    virtual void StartSearch(SearchMode mode) = 0;
    virtual bool SearchRunning() const { return false; }
    // The request changed (a count, a check box).
    virtual void OnModified() {}
    virtual bool IsModified() const { return true; }
    // What the "UPDSTREE (0, 0)" refresh applies: the view copies check flags into the boxes.
    virtual void ApplyStoredTreeState() { UpdateCheckList(false); }
    // Enter outside the fields that take it and Escape not taken by the tool-tip; true when
    // handled.
    virtual bool OnEnterElsewhere() { return false; }
    virtual bool OnEscape() { return false; }
    // A command of menu 4060 this owner handles besides the common ones, and its enable state.
    virtual bool OnHostCommand(int command) {
        (void)command;
        return false;
    }
    virtual bool HostCommandState(int command, bool& enabled, bool& checked) const {
        (void)command, (void)enabled, (void)checked;
        return false;
    }
    // Whether the wheel also moves the result list's selection (the host dialog's rule).
    virtual bool WheelMovesList() const { return false; }
    // Whether Enter in the terminal tree opens the count editor (the host dialog) or is consumed
    // (the view).
    virtual bool EnterEditsTerminalCount() const { return false; }

    // The enable state of a command of menu 4060.
    bool CommandEnabled(int command) const;

    wxButton* StartButton() const { return m_calc; }
    wxButton* StopButton() const { return m_stop; }
    wxStaticText* VersionLabel() const { return m_version; }

private:
    void CreateControls(bool withVersion);
    void BindEvents();
    void FillTrees();
    void ClearNodes(WxTreeControl& tree, TreeItem item);
    // The request items' texts after their counts changed, and the terminals checked with them.
    void ShowCounts(const std::vector<CioNode*>& checked);
    void OnUpdateTree(TreeItem item);
    void EditCount(WxTreeControl& tree);
    void OnTreeActivated(wxTreeEvent& event, WxTreeControl& tree);
    void OnCharHook(wxKeyEvent& event);
    void OnWheel(wxMouseEvent& event);
    void MoveTreeSelection(wxTreeCtrl& tree, int steps);
    void MoveListSelection(int steps);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    // The control with the focus; while the context menu is open, the one that had it before.
    const wxWindow* FocusedControl() const;
    // The object whose help or report the focused control offers, and where its item is.
    const CioType* FocusedObject(wxRect* itemRect) const;
    wxString Report(const CioType* object) const;
    static void Switch(wxWindow* control, bool enabled);
    // "Řešení %d z %d", marked when the solution shown is the proven cheapest.
    wxString SolutionCaption() const;

    CioProject* m_project = nullptr;
    int m_level = 0;
    int m_count = 0;
    int m_index = 0;
    bool m_wheelGuard = false;
    // wxGTK names the window that pops a menu up as the focus while the menu is shown.
    const wxWindow* m_menuFocus = nullptr;

    wxTreeCtrl* m_ioTreeCtrl = nullptr;
    wxTreeCtrl* m_terminalTreeCtrl = nullptr;
    wxTreeCtrl* m_selectorTreeCtrl = nullptr;
    ResultList* m_list = nullptr;
    wxStaticText* m_caption = nullptr;
    wxStaticText* m_version = nullptr;
    wxButton* m_first = nullptr;
    wxButton* m_previous = nullptr;
    wxTextCtrl* m_number = nullptr;
    wxButton* m_next = nullptr;
    wxButton* m_last = nullptr;
    wxSlider* m_slider = nullptr;
    wxButton* m_calc = nullptr;
    wxButton* m_stop = nullptr;

    std::unique_ptr<wxImageList> m_treeImages;
    std::unique_ptr<wxImageList> m_checkImages;
    std::unique_ptr<WxTreeControl> m_ioTree;
    std::unique_ptr<WxTreeControl> m_terminalTree;
    std::unique_ptr<WxTreeControl> m_selectorTree;
    std::unique_ptr<CountEditors> m_editors;
    CHelpToolTip* m_tip = nullptr;
};

} // namespace pinsum::ui
