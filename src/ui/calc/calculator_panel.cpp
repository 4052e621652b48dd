#include "calc/calculator_panel.h"

#include <algorithm>

#include <wx/clipbrd.h>
#include <wx/msgdlg.h>
#include <wx/statbox.h>

#include "calc/signal_list_command.h"
#include "calc/solution_text_dialog.h"
#include "common/dialog_units.h"
#include "common/ui_ids.h"
#include "common/ui_images.h"
#include "common/ui_texts.h"
#include "common/wx_invoke.h"
#include "common/wx_text.h"
#include "controls/image_menu.h"
#include "host/version.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "solver/search_level.h"

namespace pinsum::ui {
namespace {

constexpr int kWheelNotch = 120;

// The commands of menu 4060 that the form itself handles.
constexpr int kFormCommands[] = {
    ID_CLEAR_INPUT_LIST,     ID_LOAD_SIGNAL_LIST,   ID_RESULT_RUN_COMPILE, ID_RESULT_RUN_CHEAPEST,
    ID_RESULT_SET_IO_NUMBER, ID_RESULT_TERMINAL_NO, ID_RESULT_HELP,        ID_SHOW_SOLUTION_DETAIL,
    ID_EXPORT_TO_CLIP,       ID_SAVE_QUOTATION,
};

constexpr int kMenuCommands[] = {
    ID_CLEAR_INPUT_LIST,     ID_LOAD_SIGNAL_LIST,   ID_RESULT_RUN_COMPILE, ID_RESULT_RUN_CHEAPEST,
    ID_RESULT_SET_IO_NUMBER, ID_RESULT_TERMINAL_NO, ID_RESULT_HELP,        ID_RESULT_FIRST,
    ID_RESULT_PREVIOUS,      ID_RESULT_NEXT,        ID_RESULT_LAST,        ID_SHOW_SOLUTION_DETAIL,
    ID_EXPORT_TO_CLIP,       ID_SAVE_QUOTATION,     ID_UPDATE_DATABASE,    ID_AUTO_UPDATE,
};

// Whether the handle still names an item of the tree (items may go between a post and its
// handling).
bool HasItem(const TreeControl& tree, TreeItem parent, TreeItem wanted) {
    for (TreeItem item = tree.GetFirstChild(parent); item != kNoItem;
         item = tree.GetNextSibling(item))
        if (item == wanted || HasItem(tree, item, wanted))
            return true;
    return false;
}

} // namespace

CalculatorPanel::CalculatorPanel(wxWindow* parent, bool withVersion)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL) {
    UseDialogFont(this);
    CreateControls(withVersion);
    BindEvents();
    m_tip = new CHelpToolTip();
    m_tip->Create(this);
    m_tip->Bind(wxEVT_MOUSEWHEEL,
                [this](wxMouseEvent& event) { m_tip->OnWheel(event.GetWheelRotation()); });
}

CalculatorPanel::~CalculatorPanel() {
    // The trees go with the panel's children; their adapters must not outlive them.
    m_ioTree.reset();
    m_terminalTree.reset();
    m_selectorTree.reset();
}

void CalculatorPanel::CreateControls(bool withVersion) {
    SetInitialSize(DialogSize(this, 490, withVersion ? 340 : 327));
    auto at = [this](int x, int y, int w, int h) { return DialogRect(this, x, y, w, h); };
    auto label = [this, &at](UiText text, int x, int y, int w, int h, long style = 0) {
        const wxRect r = at(x, y, w, h);
        return new wxStaticText(this, wxID_ANY, Text(text), r.GetPosition(), r.GetSize(),
                                style | wxST_NO_AUTORESIZE);
    };
    auto button = [this, &at](int id, const wxString& text, int x, int y, int w, int h) {
        const wxRect r = at(x, y, w, h);
        auto* b = new wxButton(this, id, text, r.GetPosition(), r.GetSize());
        b->SetToolTip(CImageMenu::ToolTipText(id));
        return b;
    };
    auto tree = [this, &at](int id, int x, int y, int w, int h) {
        const wxRect r = at(x, y, w, h);
        return new wxTreeCtrl(this, id, r.GetPosition(), r.GetSize(),
                              wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE |
                                  wxBORDER_SUNKEN | wxWANTS_CHARS);
    };

    label(UiText::LabelRequiredIo, 7, 7, 97, 8);
    m_ioTreeCtrl = tree(ID_TREE_IO, 7, 21, 157, 123);
    label(UiText::LabelTerminals, 7, 146, 105, 8);
    m_terminalTreeCtrl = tree(ID_TREE_TERMINAL, 7, 159, 157, 72);
    label(UiText::LabelUseForDesign, 7, 234, 59, 8);
    m_selectorTreeCtrl = tree(ID_TREE_SELECTOR, 7, 245, 157, 65);
    if (withVersion) {
        label(UiText::LabelVersion, 7, 315, 60, 8);
        const wxRect r = at(72, 315, 50, 8);
        m_version = new wxStaticText(this, ID_VERSION_LABEL, wxString(), r.GetPosition(),
                                     r.GetSize(), wxST_NO_AUTORESIZE);
        m_version->SetLabel(FromUtf8(GetCalculatorVersion()));
    }
    label(UiText::LabelResults, 171, 5, 29, 12);
    // The browsing row is re-spaced from the template: GTK buttons need more width than 17
    // units for their padding, so the caption gives up ten units to the four buttons.
    {
        const wxRect r = at(204, 7, 148, 10);
        m_caption = new wxStaticText(this, ID_CAPTION, wxString(), r.GetPosition(), r.GetSize(),
                                     wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    }
    m_first = button(ID_BUTTON_START, "<<", 355, 4, 21, 14);
    m_previous = button(ID_BUTTON_PREVIOUS, "<", 378, 4, 21, 14);
    {
        const wxRect r = at(401, 4, 36, 14);
        m_number = new wxTextCtrl(this, ID_SOLUTION_NUMBER, "1", r.GetPosition(), r.GetSize(),
                                  wxTE_PROCESS_ENTER | wxTE_RIGHT);
    }
    m_next = button(ID_BUTTON_NEXT, ">", 439, 4, 21, 14);
    m_last = button(ID_BUTTON_END, ">>", 462, 4, 21, 14);
    {
        const wxRect r = at(171, 20, 312, 246);
        m_list = new ResultList(this, ID_RESULT_LIST, r.GetPosition(), r.GetSize());
    }
    {
        const wxRect r = at(171, 273, 312, 48);
        new wxStaticBox(this, wxID_ANY, Text(UiText::GroupSearch), r.GetPosition(), r.GetSize());
    }
    label(UiText::LabelFast, 182, 284, 30, 8);
    label(UiText::LabelThorough, 277, 284, 40, 8, wxALIGN_RIGHT);
    {
        const wxRect r = at(183, 293, 133, 21);
        m_slider = new wxSlider(this, ID_SLIDER_LEVEL, 0, kMinSearchLevel, kMaxSearchLevel,
                                r.GetPosition(), r.GetSize(), wxSL_HORIZONTAL | wxSL_AUTOTICKS);
    }
    m_calc = button(ID_BUTTON_CALC, Text(UiText::ButtonCalc), 327, 293, 72, 15);
    m_stop = button(ID_BUTTON_STOP, Text(UiText::ButtonStop), 404, 293, 72, 15);
    for (wxWindow* control : {static_cast<wxWindow*>(m_first), static_cast<wxWindow*>(m_previous),
                              static_cast<wxWindow*>(m_next), static_cast<wxWindow*>(m_last),
                              static_cast<wxWindow*>(m_number), static_cast<wxWindow*>(m_stop)})
        control->Disable();

    m_treeImages = CreateTreeImageList();
    m_checkImages = CreateCheckBoxImageList(this);
    for (wxTreeCtrl* control : {m_ioTreeCtrl, m_terminalTreeCtrl, m_selectorTreeCtrl}) {
        // The tree inherited the font already but measures items with the one it was created
        // with until its font changes.
        control->SetFont(GetFont().Bold());
        control->SetFont(GetFont());
        control->SetImageList(m_treeImages.get());
    }
    m_terminalTreeCtrl->SetStateImageList(m_checkImages.get());
    m_selectorTreeCtrl->SetStateImageList(m_checkImages.get());
    m_ioTree = std::make_unique<WxTreeControl>(*m_ioTreeCtrl, false);
    m_terminalTree = std::make_unique<WxTreeControl>(*m_terminalTreeCtrl, true);
    m_selectorTree = std::make_unique<WxTreeControl>(*m_selectorTreeCtrl, true);
    m_editors = std::make_unique<CountEditors>(this, [this](const CioNode& node) {
        for (WxTreeControl* tree : {m_ioTree.get(), m_terminalTree.get()}) {
            wxRect rect;
            if (node.treeItem != kNoItem && HasItem(*tree, kNoItem, node.treeItem) &&
                tree->Control().GetBoundingRect(WxTreeControl::Id(node.treeItem), rect, true)) {
                rect.SetPosition(tree->Control().ClientToScreen(rect.GetPosition()));
                return rect;
            }
        }
        return wxRect();
    });
    m_ioTree->SetEditors(m_editors.get());
    m_terminalTree->SetEditors(m_editors.get());
}

void CalculatorPanel::BindEvents() {
    m_selectorTree->OnCheckToggled([this](TreeItem item) { PostUpdateTree(item); });
    m_terminalTree->OnCheckToggled([this](TreeItem) { OnModified(); });
    m_ioTreeCtrl->Bind(wxEVT_TREE_ITEM_ACTIVATED,
                       [this](wxTreeEvent& event) { OnTreeActivated(event, *m_ioTree); });
    m_terminalTreeCtrl->Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent& event) {
        OnTreeActivated(event, *m_terminalTree);
    });
    m_list->Rows().Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) {
        if (!SearchRunning() && wxWindow::FindFocus() == &m_list->Rows())
            OnShowSolutionDetail();
    });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { StartSearch(SearchMode::SearchOnly); },
        ID_BUTTON_CALC);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnButtonNext(); }, ID_BUTTON_NEXT);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnButtonPrevious(); }, ID_BUTTON_PREVIOUS);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnButtonStart(); }, ID_BUTTON_START);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnButtonEnd(); }, ID_BUTTON_END);
    Bind(
        wxEVT_SLIDER, [this](wxCommandEvent&) { m_level = m_slider->GetValue(); }, ID_SLIDER_LEVEL);
    Bind(wxEVT_CHAR_HOOK, &CalculatorPanel::OnCharHook, this);
    Bind(wxEVT_CONTEXT_MENU, &CalculatorPanel::OnContextMenu, this);
    for (const int command : kMenuCommands) {
        Bind(wxEVT_MENU, &CalculatorPanel::OnCommand, this, MenuId(command));
        Bind(wxEVT_UPDATE_UI, &CalculatorPanel::OnUpdateCommand, this, MenuId(command));
    }
    // The wheel goes to the window under the mouse; the form decides by the focus instead.
    for (wxWindow* control : GetChildren())
        control->Bind(wxEVT_MOUSEWHEEL, &CalculatorPanel::OnWheel, this);
    m_list->Rows().Bind(wxEVT_MOUSEWHEEL, &CalculatorPanel::OnWheel, this);
    Bind(wxEVT_MOUSEWHEEL, &CalculatorPanel::OnWheel, this);
    // Hide the help when the form goes away or moves on.
    Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
        if (!event.IsShown())
            m_tip->HideTip();
        event.Skip();
    });
}

void CalculatorPanel::SetLevel(int level) {
    m_level = ClampSearchLevel(level);
    m_slider->SetValue(m_level);
}

void CalculatorPanel::FillTrees() {
    if (m_project == nullptr)
        return;
    m_project->InsertIoToTree(kNoItem, *m_ioTree);
    if (m_project->database != nullptr)
        m_project->database->FillSelectionTree(kNoItem, *m_selectorTree);
    m_project->InsertTerminalsToTree(kNoItem, *m_terminalTree);
}

void CalculatorPanel::FillFromProject() {
    m_tip->HideTip();
    ClearForm();
    FillTrees();
    m_index = 0;
    m_count = 0;
    if (m_project != nullptr)
        m_count = m_project->ShowSolution(m_list, 0);
    EnableButtons();
}

void CalculatorPanel::ClearForm() {
    m_ioTree->DeleteAll();
    m_terminalTree->DeleteAll();
    m_selectorTree->DeleteAll();
    m_list->DeleteAllRows();
}

void CalculatorPanel::Switch(wxWindow* control, bool enabled) {
    if (control->IsEnabled() != enabled)
        control->Enable(enabled);
}

void CalculatorPanel::EnableButtons() {
    const bool running = SearchRunning();
    const bool back = !running && m_index >= 1 && m_count >= 1;
    const bool forward = !running && m_index < m_count - 1 && m_count > 0;
    Switch(m_previous, back);
    Switch(m_next, forward);
    Switch(m_first, !running && m_index > 0 && m_count > 0);
    Switch(m_last, !running && m_index >= 0 && m_index < m_count - 1);
    Switch(m_number, !running && m_count > 1);
    Switch(m_calc, !running);
    Switch(m_stop, running);
    m_number->ChangeValue(wxString::Format("%d", m_count < 1 ? 1 : m_index + 1));
    if (back || forward || (m_count == 1 && !running))
        m_caption->SetLabel(SolutionCaption());
    else
        m_caption->SetLabel(wxString());
}

wxString CalculatorPanel::SolutionCaption() const {
    wxString caption = Format(UiText::SolutionCaption, {m_index + 1, m_count});
    const CioSolution* shown =
        m_project != nullptr ? m_project->Solution(static_cast<size_t>(m_index)) : nullptr;
    if (shown != nullptr && shown->provenCheapest)
        caption += " - " + Text(TextId::ProvenCheapest);
    return caption;
}

void CalculatorPanel::ShowSolution(int index) {
    if (m_project == nullptr)
        return;
    m_count = m_project->ShowSolution(m_list, index);
    m_index = std::min(index, m_count - 1);
    if (m_index < 0)
        m_index = 0;
}

void CalculatorPanel::OnButtonNext() {
    m_tip->HideTip();
    if (m_project != nullptr && !SearchRunning() && m_index < m_count - 1)
        ShowSolution(m_index + 1);
    EnableButtons();
}

void CalculatorPanel::OnButtonPrevious() {
    m_tip->HideTip();
    if (m_project != nullptr && !SearchRunning() && m_index > 0)
        ShowSolution(m_index - 1);
    EnableButtons();
}

void CalculatorPanel::OnButtonStart() {
    if (m_project != nullptr && !SearchRunning() && m_index > 0 && m_index < m_count)
        ShowSolution(0);
    EnableButtons();
}

void CalculatorPanel::OnButtonEnd() {
    if (m_project != nullptr && !SearchRunning() && m_index >= 0 && m_index < m_count - 1 &&
        m_count > 0)
        ShowSolution(m_count - 1);
    EnableButtons();
}

void CalculatorPanel::UpdateResultDirect(int number) {
    if (m_project == nullptr || SearchRunning() || number < 0 || number > m_count)
        return;
    ShowSolution(std::max(number - 1, 0));
    EnableButtons();
}

bool CalculatorPanel::ReadControls(bool typedNumber) {
    m_level = m_slider->GetValue();
    if (!typedNumber || m_count < 1)
        return true;
    long number = 0;
    const wxString typed = m_number->GetValue().Strip(wxString::both);
    if (!typed.ToLong(&number) || number < 1 || number > m_count) {
        wxMessageDialog box(this, Format(UiText::NumberOutOfRange, {1, m_count}),
                            Text(UiText::HostCaption), wxOK | wxICON_EXCLAMATION);
        box.ShowModal();
        // The field goes back to the solution still shown, ready to be typed over.
        m_number->ChangeValue(wxString::Format("%d", m_index + 1));
        m_number->SetFocus();
        m_number->SelectAll();
        return false;
    }
    UpdateResultDirect(static_cast<int>(number));
    return true;
}

void CalculatorPanel::UpdateCheckList(bool toObjects) {
    if (m_project == nullptr || (toObjects && !IsModified()))
        return;
    auto copy = [toObjects](WxTreeControl& tree, TreeItem item) {
        CioType* object = tree.GetItemData(item);
        if (object == nullptr)
            return;
        if (toObjects)
            object->flags =
                tree.IsChecked(item) ? object->flags | FLAG_CHECKED : object->flags & ~FLAG_CHECKED;
        else
            tree.SetChecked(item, (object->flags & FLAG_CHECKED) != 0);
    };
    for (TreeItem series = m_selectorTree->GetFirstChild(kNoItem); series != kNoItem;
         series = m_selectorTree->GetNextSibling(series)) {
        copy(*m_selectorTree, series);
        for (TreeItem device = m_selectorTree->GetFirstChild(series); device != kNoItem;
             device = m_selectorTree->GetNextSibling(device))
            copy(*m_selectorTree, device);
    }
    for (TreeItem item = m_terminalTree->GetFirstChild(kNoItem); item != kNoItem;
         item = m_terminalTree->GetNextSibling(item))
        copy(*m_terminalTree, item);
}

void CalculatorPanel::SyncTreeState(bool read) {
    if (m_project == nullptr)
        return;
    auto sync = [read](WxTreeControl& tree, TreeItem item) {
        if (CioType* object = tree.GetItemData(item))
            object->SyncTreeState(tree, read);
    };
    for (TreeItem series = m_selectorTree->GetFirstChild(kNoItem); series != kNoItem;
         series = m_selectorTree->GetNextSibling(series)) {
        sync(*m_selectorTree, series);
        for (TreeItem device = m_selectorTree->GetFirstChild(series); device != kNoItem;
             device = m_selectorTree->GetNextSibling(device))
            sync(*m_selectorTree, device);
    }
    for (TreeItem item = m_terminalTree->GetFirstChild(kNoItem); item != kNoItem;
         item = m_terminalTree->GetNextSibling(item))
        sync(*m_terminalTree, item);
}

void CalculatorPanel::ClearNodes(WxTreeControl& tree, TreeItem item) {
    for (TreeItem child = tree.GetFirstChild(item); child != kNoItem;
         child = tree.GetNextSibling(child)) {
        if (auto* node = dynamic_cast<CioNode*>(tree.GetItemData(child))) {
            node->count = 0;
            tree.SetItemText(child, node->GetText());
        }
        ClearNodes(tree, child);
    }
}

void CalculatorPanel::ClearIoNode(TreeItem item) {
    ClearNodes(*m_ioTree, item);
}

void CalculatorPanel::ClearTerminalNode(TreeItem item) {
    ClearNodes(*m_terminalTree, item);
}

void CalculatorPanel::OnClearInputList() {
    // The search works on the project's request and solutions until it has reported.
    if (SearchRunning())
        return;
    m_tip->HideTip();
    ClearIoNode(kNoItem);
    ClearTerminalNode(kNoItem);
    m_index = 0;
    m_count = 0;
    if (m_project != nullptr) {
        m_project->CioArray::RemoveAll();
        m_project->finished.clear();
        m_project->effectiveRequest.clear();
        m_project->candidateDevices.clear();
        m_project->rootControllers.clear();
        m_project->stopEvent = nullptr;
        m_project->thread = nullptr;
    }
    m_list->DeleteAllRows();
    OnModified();
    EnableButtons();
}

void CalculatorPanel::PostUpdateTree(TreeItem item) {
    PostToUi(*this, [this, item] { OnUpdateTree(item); });
}

void CalculatorPanel::OnUpdateTree(TreeItem item) {
    if (item == kNoItem) {
        ApplyStoredTreeState();
        return;
    }
    if (m_project == nullptr || m_project->database == nullptr ||
        !HasItem(*m_selectorTree, kNoItem, item))
        return;
    m_project->database->ApplySelectionCheck(*m_selectorTree, item);
    OnModified();
}

void CalculatorPanel::EditCount(WxTreeControl& tree) {
    m_tip->HideTip();
    // A count is part of the request the running search reads.
    if (SearchRunning())
        return;
    const wxTreeItemId id = tree.Control().GetSelection();
    if (!id.IsOk() || id == tree.Control().GetRootItem())
        return;
    if (tree.Control().ItemHasChildren(id) && !tree.Control().IsExpanded(id)) {
        tree.Control().Expand(id);
        return;
    }
    auto* node = dynamic_cast<CioNode*>(tree.GetItemData(WxTreeControl::Handle(id)));
    if (node == nullptr || node->Kind() == nullptr)
        return;
    if (node->EditItem(tree) != 0)
        OnModified();
}

void CalculatorPanel::OnTreeActivated(wxTreeEvent& event, WxTreeControl& tree) {
    const wxTreeItemId id = event.GetItem();
    // A collapsed parent is the tree's to expand.
    if (id.IsOk() && tree.Control().ItemHasChildren(id) && !tree.Control().IsExpanded(id)) {
        event.Skip();
        return;
    }
    if (id.IsOk())
        tree.Control().SelectItem(id);
    EditCount(tree);
}

void CalculatorPanel::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (m_tip->OnKey(key))
        return;
    if (SearchRunning())
        return;
    if (key == WXK_ESCAPE && m_tip->IsVisible()) {
        m_tip->HideTip();
        return;
    }
    if (key == WXK_F5) {
        OnResultHelp();
        return;
    }
    if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        m_tip->HideTip();
        const wxWindow* focus = wxWindow::FindFocus();
        if (focus == m_number) {
            ReadControls(true);
        } else if (focus == m_ioTreeCtrl) {
            EditCount(*m_ioTree);
        } else if (focus == m_terminalTreeCtrl) {
            if (EnterEditsTerminalCount())
                EditCount(*m_terminalTree);
        } else if (focus == m_selectorTreeCtrl) {
            // Enter does nothing in the "Pro návrh použít" tree.
        } else if (dynamic_cast<const wxButton*>(focus) != nullptr || !OnEnterElsewhere()) {
            event.Skip();
        }
        return;
    }
    if (key == WXK_ESCAPE && OnEscape())
        return;
    event.Skip();
}

void CalculatorPanel::OnWheel(wxMouseEvent& event) {
    if (m_wheelGuard)
        return;
    m_wheelGuard = true;
    m_tip->HideTip();
    const int steps = event.GetWheelRotation() / kWheelNotch;
    const wxWindow* focus = wxWindow::FindFocus();
    if (focus == &m_list->Rows() && WheelMovesList())
        MoveListSelection(steps);
    else if (focus == m_terminalTreeCtrl || focus == m_selectorTreeCtrl || focus == m_ioTreeCtrl)
        MoveTreeSelection(*static_cast<wxTreeCtrl*>(const_cast<wxWindow*>(focus)), steps);
    m_wheelGuard = false;
}

void CalculatorPanel::MoveListSelection(int steps) {
    const int rows = m_list->RowCount();
    const int selected = m_list->SelectedRow();
    const int target = rows < 2 ? 0 : std::clamp(selected - steps, 0, rows - 1);
    if (target != selected && target < rows)
        m_list->SelectRow(target);
}

void CalculatorPanel::MoveTreeSelection(wxTreeCtrl& tree, int steps) {
    wxTreeItemId item = tree.GetSelection();
    if (!item.IsOk()) {
        wxTreeItemIdValue cookie;
        item = tree.GetFirstChild(tree.GetRootItem(), cookie);
        if (!item.IsOk())
            return;
    }
    for (int i = 0; i < std::abs(steps); ++i) {
        const wxTreeItemId next = steps > 0 ? tree.GetPrevVisible(item) : tree.GetNextVisible(item);
        if (!next.IsOk() || next == tree.GetRootItem())
            break;
        item = next;
    }
    if (item != tree.GetSelection())
        tree.SelectItem(item);
}

const wxWindow* CalculatorPanel::FocusedControl() const {
    return m_menuFocus != nullptr ? m_menuFocus : wxWindow::FindFocus();
}

const CioType* CalculatorPanel::FocusedObject(wxRect* itemRect) const {
    const wxWindow* focus = FocusedControl();
    if (focus == &m_list->Rows()) {
        const int row = m_list->SelectedRow();
        if (itemRect != nullptr && row >= 0)
            *itemRect = m_list->RowScreenRect(row);
        return m_list->SelectedObject();
    }
    for (const WxTreeControl* tree : {m_ioTree.get(), m_terminalTree.get(), m_selectorTree.get()}) {
        if (focus != &tree->Control())
            continue;
        const wxTreeItemId id = tree->Control().GetSelection();
        if (!id.IsOk() || id == tree->Control().GetRootItem())
            return nullptr;
        wxRect rect;
        if (itemRect != nullptr && tree->Control().GetBoundingRect(id, rect, true)) {
            rect.SetPosition(tree->Control().ClientToScreen(rect.GetPosition()));
            *itemRect = rect;
        }
        return tree->GetItemData(WxTreeControl::Handle(id));
    }
    return nullptr;
}

void CalculatorPanel::OnResultHelp() {
    wxRect item;
    const CioType* object = FocusedObject(&item);
    if (object == nullptr || !object->HasHelp())
        return;
    std::string markup;
    object->GetHelpMarkup(markup);
    m_tip->HideTip();
    m_tip->SetText(std::move(markup));
    m_tip->ShowAt(wxPoint(item.GetRight() + 8, item.GetTop()));
}

wxString CalculatorPanel::Report(const CioType* object) const {
    if (object == nullptr)
        return wxString();
    std::string text;
    object->Describe(text, std::string());
    return ReportText(text);
}

void CalculatorPanel::OnShowSolutionDetail() {
    m_tip->HideTip();
    const wxString report = Report(m_list->SelectedObject());
    if (report.empty())
        return;
    CioSolutionText dialog(this, report);
    dialog.ShowModal();
}

void CalculatorPanel::OnLoadSignalList() {
    m_tip->HideTip();
    if (LoadSignalList(this, *m_project,
                       [this](const std::vector<CioNode*>& checked) { ShowCounts(checked); }))
        OnModified();
}

void CalculatorPanel::ShowCounts(const std::vector<CioNode*>& checked) {
    const std::function<void(WxTreeControl&, TreeItem)> show = [&](WxTreeControl& tree,
                                                                   TreeItem parent) {
        for (TreeItem item = tree.GetFirstChild(parent); item != kNoItem;
             item = tree.GetNextSibling(item)) {
            if (auto* node = dynamic_cast<CioNode*>(tree.GetItemData(item))) {
                tree.SetItemText(item, node->GetText());
                if (std::find(checked.begin(), checked.end(), node) != checked.end())
                    tree.SetChecked(item, true);
            }
            show(tree, item);
        }
    };
    show(*m_ioTree, kNoItem);
    show(*m_terminalTree, kNoItem);
}

void CalculatorPanel::OnExportToClip() {
    const wxString report = Report(m_list->SelectedObject());
    if (report.empty())
        return;
    wxClipboardLocker clipboard;
    if (!clipboard)
        return;
    wxTheClipboard->Clear();
    wxTheClipboard->SetData(new wxTextDataObject(report));
    wxTheClipboard->Flush();
}

bool CalculatorPanel::CommandEnabled(int command) const {
    const wxWindow* focus = FocusedControl();
    switch (command) {
    case ID_RESULT_RUN_COMPILE:
    case ID_RESULT_RUN_CHEAPEST:
        return !SearchRunning();
    case ID_CLEAR_INPUT_LIST:
        return !SearchRunning();
    case ID_RESULT_SET_IO_NUMBER:
        return focus == m_ioTreeCtrl && !SearchRunning();
    case ID_RESULT_TERMINAL_NO:
        return focus == m_terminalTreeCtrl && !SearchRunning();
    case ID_SHOW_SOLUTION_DETAIL:
    case ID_EXPORT_TO_CLIP:
        return m_list->RowCount() > 0 && m_list->SelectedRow() >= 0;
    case ID_LOAD_SIGNAL_LIST:
        return m_project != nullptr && m_project->database != nullptr && !SearchRunning();
    case ID_SAVE_QUOTATION:
        return m_project != nullptr && m_count > 0 && !SearchRunning();
    case ID_RESULT_HELP: {
        const CioType* object = FocusedObject(nullptr);
        return !m_tip->IsVisible() && object != nullptr && object->HasHelp();
    }
    default:
        return false;
    }
}

void CalculatorPanel::OnUpdateCommand(wxUpdateUIEvent& event) {
    const int command = CommandOfMenuId(event.GetId());
    bool enabled = false;
    bool checked = false;
    if (HostCommandState(command, enabled, checked)) {
        event.Enable(enabled);
        if (command == ID_AUTO_UPDATE)
            event.Check(checked);
        return;
    }
    event.Enable(CommandEnabled(command));
}

void CalculatorPanel::OnCommand(wxCommandEvent& event) {
    const int command = CommandOfMenuId(event.GetId());
    if (OnHostCommand(command))
        return;
    if (std::find(std::begin(kFormCommands), std::end(kFormCommands), command) ==
            std::end(kFormCommands) ||
        !CommandEnabled(command))
        return;
    switch (command) {
    case ID_RESULT_RUN_COMPILE:
        m_tip->HideTip();
        StartSearch(SearchMode::SearchOnly);
        break;
    case ID_RESULT_RUN_CHEAPEST:
        m_tip->HideTip();
        StartSearch(SearchMode::WithExact);
        break;
    case ID_RESULT_SET_IO_NUMBER:
        EditCount(*m_ioTree);
        break;
    case ID_RESULT_TERMINAL_NO:
        EditCount(*m_terminalTree);
        break;
    case ID_CLEAR_INPUT_LIST:
        OnClearInputList();
        break;
    case ID_RESULT_HELP:
        OnResultHelp();
        break;
    case ID_SHOW_SOLUTION_DETAIL:
        OnShowSolutionDetail();
        break;
    case ID_EXPORT_TO_CLIP:
        OnExportToClip();
        break;
    case ID_LOAD_SIGNAL_LIST:
        OnLoadSignalList();
        break;
    case ID_SAVE_QUOTATION:
        m_tip->HideTip();
        SaveQuotation(this, *m_project, static_cast<size_t>(m_index));
        break;
    default:
        break;
    }
}

void CalculatorPanel::OnContextMenu(wxContextMenuEvent& event) {
    m_tip->HideTip();
    const std::unique_ptr<wxMenu> menu = CImageMenu::CreateContextMenu();
    wxPoint at = event.GetPosition();
    at = at == wxDefaultPosition ? wxDefaultPosition : ScreenToClient(at);
    // The enable rules and the commands, which run before the popup returns, ask for the control
    // the user was in.
    m_menuFocus = wxWindow::FindFocus();
    // wxGTK does not send a popup's update events to handlers inside a dialog: the states are
    // set before it opens.
    menu->UpdateUI(GetEventHandler());
    PopupMenu(menu.get(), at);
    m_menuFocus = nullptr;
}

} // namespace pinsum::ui
