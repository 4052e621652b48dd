#include "planner/planner_view.h"

#include <cstdlib>

#include <wx/app.h>
#include <wx/docmdi.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "common/ui_ids.h"
#include "common/ui_images.h"
#include "common/ui_texts.h"
#include "common/wx_messenger.h"
#include "controls/image_menu.h"
#include "controls/wx_tree_control.h"
#include "helptext/help_tooltip_window.h"
#include "host/program_folders.h"
#include "model/cio_db.h"
#include "planner/planner_doc.h"
#include "planner/planner_drag.h"
#include "planner/planner_editors.h"
#include "update/ftp_config.h"
#include "update/ftp_update_dialog.h"
#include "update/update_flows.h"

using namespace pinsum;
using namespace pinsum::ui;

wxIMPLEMENT_DYNAMIC_CLASS(CPlannerView, wxView);

namespace {

constexpr int kWheelNotch = 120;
constexpr int kViewCommands[] = {ID_EDIT_ITEM,      ID_INSERT_ITEM, ID_DELETE_ITEM,
                                 ID_EXPORT_DB_FILE, ID_SHOW_HELP,   ID_SCRM};

// The item shown after this one, as the user sees the tree: into open branches.
wxTreeItemId NextShown(const wxTreeCtrl& tree, wxTreeItemId item) {
    if (tree.ItemHasChildren(item) && tree.IsExpanded(item)) {
        wxTreeItemIdValue cookie;
        return tree.GetFirstChild(item, cookie);
    }
    for (; item.IsOk() && item != tree.GetRootItem(); item = tree.GetItemParent(item)) {
        const wxTreeItemId next = tree.GetNextSibling(item);
        if (next.IsOk())
            return next;
    }
    return wxTreeItemId();
}

wxTreeItemId PreviousShown(const wxTreeCtrl& tree, const wxTreeItemId& item) {
    wxTreeItemId previous = tree.GetPrevSibling(item);
    if (!previous.IsOk()) {
        const wxTreeItemId parent = tree.GetItemParent(item);
        return parent == tree.GetRootItem() ? wxTreeItemId() : parent;
    }
    while (tree.ItemHasChildren(previous) && tree.IsExpanded(previous))
        previous = tree.GetLastChild(previous);
    return previous;
}

} // namespace

CPlannerView::CPlannerView() = default;
CPlannerView::~CPlannerView() = default;

bool CPlannerView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags))
        return false;
    wxWindow* parent = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
    wxFrame* frame = nullptr;
    if (auto* mdiParent = dynamic_cast<wxDocMDIParentFrame*>(parent))
        frame = new wxDocMDIChildFrame(doc, this, mdiParent, wxID_ANY, doc->GetUserReadableName(),
                                       wxDefaultPosition, wxSize(420, 560));
    else
        frame =
            new wxDocChildFrame(doc, this, dynamic_cast<wxFrame*>(parent), wxID_ANY,
                                doc->GetUserReadableName(), wxDefaultPosition, wxSize(420, 560));
    m_treeCtrl = new wxTreeCtrl(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT |
                                    wxTR_SINGLE | wxBORDER_NONE);
    // The control owns its images: its frame may be destroyed after this view.
    m_treeCtrl->AssignImageList(CreateTreeImageList().release());
    m_tree = std::make_unique<WxTreeControl>(*m_treeCtrl, false);
    m_editors = std::make_unique<PlannerEditors>(frame);
    m_tree->SetEditors(m_editors.get());
    m_drag = std::make_unique<PlannerDrag>(*m_treeCtrl, *m_tree, [this] { Modified(); });
    m_treeCtrl->SetDropTarget(new PlannerDropTarget(*m_drag));
    m_tip = new CHelpToolTip();
    m_tip->Create(m_treeCtrl);
    m_menuRunner = [this](wxMenu& menu, const wxPoint& screenPoint) {
        m_treeCtrl->PopupMenu(&menu, m_treeCtrl->ScreenToClient(screenPoint));
    };
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_treeCtrl, 1, wxEXPAND);
    frame->SetSizer(sizer);
    SetFrame(frame);
    BindEvents();
    frame->Show();
    return true;
}

void CPlannerView::BindEvents() {
    // Bound to the view's own methods: wx drops these handlers when the view goes, even while
    // the tree, destroyed with its frame later, still exists.
    m_treeCtrl->Bind(wxEVT_KEY_DOWN, &CPlannerView::OnKeyDown, this);
    m_treeCtrl->Bind(wxEVT_RIGHT_DOWN, &CPlannerView::OnRightDown, this);
    m_treeCtrl->Bind(wxEVT_MOUSEWHEEL, &CPlannerView::OnMouseWheel, this);
    m_treeCtrl->Bind(wxEVT_TREE_ITEM_EXPANDED, &CPlannerView::OnItemExpanded, this);
    m_treeCtrl->Bind(wxEVT_TREE_ITEM_COLLAPSED, &CPlannerView::OnItemExpanded, this);
    m_treeCtrl->Bind(wxEVT_TREE_ITEM_ACTIVATED, &CPlannerView::OnItemActivated, this);
    m_treeCtrl->Bind(wxEVT_LEFT_DOWN, &CPlannerView::OnLeftMouse, this);
    m_treeCtrl->Bind(wxEVT_LEFT_UP, &CPlannerView::OnLeftMouse, this);
    m_treeCtrl->Bind(wxEVT_MOTION, &CPlannerView::OnLeftMouse, this);
    m_treeCtrl->Bind(wxEVT_CONTEXT_MENU, &CPlannerView::OnKeyboardMenu, this);
    m_treeCtrl->Bind(wxEVT_SET_FOCUS, &CPlannerView::OnTreeFocus, this);
    // The commands come from the pop-up menu over the tree, and from a host's menus through
    // the document manager to the active view.
    for (const int command : kViewCommands) {
        m_treeCtrl->Bind(wxEVT_MENU, &CPlannerView::OnCommand, this, MenuId(command));
        m_treeCtrl->Bind(wxEVT_UPDATE_UI, &CPlannerView::OnUpdateCommand, this, MenuId(command));
        Bind(wxEVT_MENU, &CPlannerView::OnCommand, this, MenuId(command));
        Bind(wxEVT_UPDATE_UI, &CPlannerView::OnUpdateCommand, this, MenuId(command));
    }
}

void CPlannerView::OnDraw(wxDC*) {}

CPlannerDoc* CPlannerView::GetDocument() const {
    return dynamic_cast<CPlannerDoc*>(wxView::GetDocument());
}

void CPlannerView::ClearTree() {
    if (m_tree == nullptr)
        return;
    m_tip->HideTip();
    m_drag->Leave();
    m_tree->DeleteAll();
}

void CPlannerView::OnUpdate(wxView*, wxObject*) {
    if (m_tree == nullptr)
        return;
    m_filling = true;
    ClearTree();
    CPlannerDoc* document = GetDocument();
    if (CioDb* database = document != nullptr ? document->Database() : nullptr) {
        // The database inserts itself under the item it last had; this tree has a new one.
        database->treeItem = kNoItem;
        database->InsertToTree(kNoItem, *m_tree, kInsertLast);
        if (database->treeItem != kNoItem) {
            database->SyncTreeState(*m_tree, false);
            // Without a stored selection the database item is selected: a tree with a hidden
            // root would otherwise select that root when it next is idle.
            const wxTreeItemId selected = m_treeCtrl->GetSelection();
            if (!selected.IsOk() || selected == m_treeCtrl->GetRootItem())
                m_tree->Select(database->treeItem);
        }
    }
    m_filling = false;
}

bool CPlannerView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow))
        return false;
    Activate(false);
    ClearTree();
    if (m_treeCtrl != nullptr)
        m_treeCtrl->SetDropTarget(nullptr);
    if (deleteWindow && GetFrame() != nullptr) {
        GetFrame()->Destroy();
        SetFrame(nullptr);
    }
    return true;
}

void CPlannerView::OnActivateView(bool activate, wxView*, wxView*) {
    if (!activate && m_tip != nullptr && m_tip->IsVisible())
        m_tip->HideTip();
}

void CPlannerView::SetMenuRunner(std::function<void(wxMenu&, const wxPoint&)> runner) {
    m_menuRunner = std::move(runner);
}

CioType* CPlannerView::SelectedObject() const {
    if (m_treeCtrl == nullptr)
        return nullptr;
    const wxTreeItemId selected = m_treeCtrl->GetSelection();
    if (!selected.IsOk() || selected == m_treeCtrl->GetRootItem())
        return nullptr;
    return m_tree->GetItemData(WxTreeControl::Handle(selected));
}

void CPlannerView::Modified() {
    if (wxDocument* document = wxView::GetDocument())
        document->Modify(true);
}

bool CPlannerView::IsInsertItem() const {
    const CioType* object = SelectedObject();
    return object != nullptr && object->IsInsertItem(*m_tree) != 0;
}

bool CPlannerView::IsDeleteItem() const {
    const CioType* object = SelectedObject();
    return object != nullptr && object->IsDeleteItem(*m_tree) != 0;
}

bool CPlannerView::IsEditItem() const {
    const CioType* object = SelectedObject();
    return object != nullptr && object->IsEditItem(*m_tree) != 0;
}

bool CPlannerView::InsertItem() {
    wxBusyCursor wait;
    CioType* object = SelectedObject();
    if (object == nullptr || object->InsertItem(*m_tree) == 0)
        return false;
    Modified();
    return true;
}

bool CPlannerView::DeleteItem() {
    wxBusyCursor wait;
    CioType* object = SelectedObject();
    if (object == nullptr || object->DeleteItem(*m_tree, nullptr) == 0)
        return false;
    Modified();
    return true;
}

bool CPlannerView::EditItem() {
    CioType* object = SelectedObject();
    if (object == nullptr || object->EditItem(*m_tree) == 0)
        return false;
    Modified();
    return true;
}

void CPlannerView::ChangeMouse() {
    if (wxWindow::FindFocus() == m_treeCtrl && m_tip->IsVisible() &&
        !m_tip->GetScreenRect().Contains(wxGetMousePosition()))
        m_tip->HideTip();
}

void CPlannerView::OnKeyDown(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (m_tip->OnKey(key))
        return;
    switch (key) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        ChangeMouse();
        if (IsEditItem())
            EditItem();
        return;
    case WXK_ESCAPE:
        if (m_tip->IsVisible())
            m_tip->HideTip();
        return;
    case WXK_INSERT:
    case WXK_NUMPAD_INSERT:
        ChangeMouse();
        if (IsInsertItem())
            InsertItem();
        return;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        ChangeMouse();
        if (IsDeleteItem())
            DeleteItem();
        return;
    default:
        event.Skip();
    }
}

void CPlannerView::OnRightDown(wxMouseEvent& event) {
    // Not skipped: the click leaves the selection alone, and the menu acts on the selected item.
    m_treeCtrl->SetFocus();
    OnContextMenu(m_treeCtrl->ClientToScreen(event.GetPosition()));
}

void CPlannerView::OnKeyboardMenu(wxContextMenuEvent& event) {
    wxPoint at = event.GetPosition();
    if (at == wxDefaultPosition) {
        wxRect item;
        const wxTreeItemId selected = m_treeCtrl->GetSelection();
        at = selected.IsOk() && m_treeCtrl->GetBoundingRect(selected, item, true)
                 ? m_treeCtrl->ClientToScreen(item.GetBottomLeft())
                 : m_treeCtrl->GetScreenPosition();
    }
    OnContextMenu(at);
}

void CPlannerView::OnContextMenu(const wxPoint& screenPoint) {
    if (m_tip->IsVisible())
        m_tip->HideTip();
    std::unique_ptr<wxMenu> menu = CImageMenu::CreatePlannerMenu();
    if (m_menuRunner)
        m_menuRunner(*menu, screenPoint);
}

void CPlannerView::OnMouseWheel(wxMouseEvent& event) {
    if (m_tip->OnWheel(event.GetWheelRotation()) || m_wheelGuard)
        return;
    m_wheelGuard = true;
    const int steps = event.GetWheelRotation() / kWheelNotch;
    const wxTreeItemId selected = m_treeCtrl->GetSelection();
    wxTreeItemId item = selected;
    if (item.IsOk() && item != m_treeCtrl->GetRootItem()) {
        for (int i = 0; i < std::abs(steps); ++i) {
            const wxTreeItemId next =
                steps < 0 ? NextShown(*m_treeCtrl, item) : PreviousShown(*m_treeCtrl, item);
            if (!next.IsOk())
                break;
            item = next;
        }
        if (item != selected)
            m_treeCtrl->SelectItem(item);
    }
    m_wheelGuard = false;
}

void CPlannerView::OnItemExpanded(wxTreeEvent& event) {
    event.Skip();
    if (m_filling || !event.GetItem().IsOk())
        return;
    if (CioType* object = m_tree->GetItemData(WxTreeControl::Handle(event.GetItem())))
        object->OnItemExpanded(*m_tree);
}

void CPlannerView::OnItemActivated(wxTreeEvent& event) {
    if (m_tip->IsVisible())
        m_tip->HideTip();
    wxTreeItemId item = m_treeCtrl->GetSelection();
    if (!item.IsOk() || item == m_treeCtrl->GetRootItem())
        item = event.GetItem();
    // A closed branch is the tree's to open; nothing else happens.
    if (!item.IsOk() || (m_treeCtrl->ItemHasChildren(item) && !m_treeCtrl->IsExpanded(item))) {
        event.Skip();
        return;
    }
    CioType* object = m_tree->GetItemData(WxTreeControl::Handle(item));
    if (object == nullptr || object->IsEditItem(*m_tree) == 0) {
        event.Skip();
        return;
    }
    if (object->EditItem(*m_tree) != 0)
        Modified();
}

void CPlannerView::OnLeftMouse(wxMouseEvent& event) {
    const bool press = event.GetEventType() == wxEVT_LEFT_DOWN;
    const bool drag = event.GetEventType() == wxEVT_MOTION && event.LeftIsDown();
    // While the help shows, the tree takes no clicks and starts no drag.
    if ((press || drag) && m_tip->IsVisible())
        return;
    if (press)
        m_drag->OnLeftDown(event.GetPosition());
    else if (drag && m_drag->OnLeftDrag(event.GetPosition()))
        return;
    else if (event.GetEventType() == wxEVT_LEFT_UP)
        m_drag->OnLeftUp();
    event.Skip();
}

void CPlannerView::OnTreeFocus(wxFocusEvent& event) {
    // The document manager sends the host's commands to the active view.
    Activate(true);
    event.Skip();
}

void CPlannerView::OnCommand(wxCommandEvent& event) {
    switch (CommandOfMenuId(event.GetId())) {
    case ID_EDIT_ITEM:
        if (IsEditItem())
            EditItem();
        break;
    case ID_INSERT_ITEM:
        if (IsInsertItem())
            InsertItem();
        break;
    case ID_DELETE_ITEM:
        if (IsDeleteItem())
            DeleteItem();
        break;
    case ID_EXPORT_DB_FILE:
        OnExportDbFile();
        break;
    case ID_SHOW_HELP:
        OnShowHelp();
        break;
    case ID_SCRM:
        // Answered with 0 and nothing else.
        event.SetInt(0);
        break;
    default:
        event.Skip();
    }
}

void CPlannerView::OnUpdateCommand(wxUpdateUIEvent& event) {
    switch (CommandOfMenuId(event.GetId())) {
    case ID_EDIT_ITEM:
        event.Enable(IsEditItem());
        break;
    case ID_INSERT_ITEM:
        event.Enable(IsInsertItem());
        break;
    case ID_DELETE_ITEM:
        event.Enable(IsDeleteItem());
        break;
    case ID_EXPORT_DB_FILE:
        event.Enable(true);
        break;
    case ID_SHOW_HELP: {
        const CioType* object = SelectedObject();
        event.Enable(object != nullptr && object->HasHelp() != 0);
        break;
    }
    default:
        event.Skip();
    }
}

void CPlannerView::OnShowHelp() {
    CioType* object = SelectedObject();
    if (object == nullptr)
        return;
    std::string markup;
    if (object->PrepareHelp(markup) == 0) {
        wxMessageDialog box(GetFrame(), Text(UiText::NoHelp), Text(UiText::PlannerDocument),
                            wxOK | wxICON_ERROR);
        box.ShowModal();
        return;
    }
    m_tip->HideTip();
    m_tip->SetText(std::move(markup));
    m_tip->ShowAt(wxPoint(10, 10));
}

void CPlannerView::OnExportDbFile() {
    CPlannerDoc* document = GetDocument();
    // The document is saved first; a save the user cancels, or that fails, ends it quietly.
    // Saving first also gives a new document the name under which it is sent.
    if (document == nullptr || !document->Save())
        return;
    FtpConfig server;
    try {
        server = LoadFtpConfig(ProgramFolder());
    } catch (const FtpConfigError& e) {
        wxMessageDialog box(GetFrame(), Format(UiText::UpdateConfigError, {e.what()}),
                            Text(UiText::PlannerDocument), wxOK | wxICON_ERROR);
        box.ShowModal();
        return;
    }
    WxMessenger messenger(GetFrame());
    WxUpdateDialogRunner dialog(GetFrame());
    UpdateFlows flows(server, ProgramFolder(), messenger, dialog);
    flows.ExportDatabase(document->GetFilename().utf8_string(), nullptr);
}
