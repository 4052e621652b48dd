#pragma once

#include <functional>
#include <memory>

#include <wx/docview.h>
#include <wx/menu.h>
#include <wx/treectrl.h>

#include "model/tree_control.h"

class CPlannerDoc;

namespace pinsum::ui {
class CHelpToolTip;
class PlannerDrag;
class PlannerEditors;
class WxTreeControl;
} // namespace pinsum::ui

// The planner's view: the catalogue database as a tree (the database, its four lists, their
// elements). It holds no editing rules: every command asks the selected item's object whether it
// is allowed and lets the object carry it out on the tree; the view routes commands, keys, menus,
// the wheel, drag and drop and the help tool-tip, and marks the document modified after every
// change that succeeded. Exported with its run-time class ("CPlannerView").
class CPlannerView : public wxView {
public:
    CPlannerView();
    ~CPlannerView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC* dc) override;
    // Fills the tree anew from the document's database and applies its stored state.
    void OnUpdate(wxView* sender, wxObject* hint = nullptr) override;
    bool OnClose(bool deleteWindow = true) override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    CPlannerDoc* GetDocument() const;

    bool IsInsertItem() const;
    bool IsDeleteItem() const;
    bool IsEditItem() const;
    bool InsertItem();
    bool DeleteItem();
    bool EditItem();
    // Command 51000: the selected item's help in the tool-tip, or "Položka nemá nápovědu".
    void OnShowHelp();
    // Command 52132: saves the document and sends the file to the update server.
    void OnExportDbFile();

    // Empties the tree; the objects it showed may go afterwards.
    void ClearTree();
    pinsum::ui::WxTreeControl* Tree() const { return m_tree.get(); }
    wxTreeCtrl* TreeCtrl() const { return m_treeCtrl; }
    pinsum::ui::CHelpToolTip* ToolTip() const { return m_tip; }
    pinsum::ui::PlannerDrag* Drag() const { return m_drag.get(); }
    // Shows a context menu at a screen point; the default pops it up over the tree. Tests
    // replace it to see the menu without a pop-up loop.
    void SetMenuRunner(std::function<void(wxMenu&, const wxPoint&)> runner);

private:
    void BindEvents();
    pinsum::CioType* SelectedObject() const;
    void Modified();
    void ChangeMouse();
    void OnKeyDown(wxKeyEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnKeyboardMenu(wxContextMenuEvent& event);
    void OnContextMenu(const wxPoint& screenPoint);
    void OnTreeFocus(wxFocusEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnItemExpanded(wxTreeEvent& event);
    void OnItemActivated(wxTreeEvent& event);
    void OnLeftMouse(wxMouseEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);

    wxTreeCtrl* m_treeCtrl = nullptr;
    std::unique_ptr<pinsum::ui::WxTreeControl> m_tree;
    std::unique_ptr<pinsum::ui::PlannerEditors> m_editors;
    std::unique_ptr<pinsum::ui::PlannerDrag> m_drag;
    pinsum::ui::CHelpToolTip* m_tip = nullptr;
    std::function<void(wxMenu&, const wxPoint&)> m_menuRunner;
    // Until the first fill has ended, expand notifications are the fill's own.
    bool m_filling = true;
    bool m_wheelGuard = false;

    wxDECLARE_DYNAMIC_CLASS(CPlannerView);
};
