#pragma once

#include <functional>

#include <wx/dataobj.h>
#include <wx/dnd.h>
#include <wx/treectrl.h>

#include "model/tree_control.h"

namespace pinsum::ui {

class WxTreeControl;

// The clipboard format of a dragged planner element, "Planner graphic elements".
const wxDataFormat& PlannerDragFormat();

// What a planner drag carries: a token that names one drag of this process. The dragged object
// itself never travels as an address: a drop compares the token with the drag this process runs.
class PlannerDragData : public wxDataObjectSimple {
public:
    explicit PlannerDragData(const wxString& token = wxString());

    size_t GetDataSize() const override;
    bool GetDataHere(void* buffer) const override;
    bool SetData(size_t length, const void* buffer) override;
    const wxString& Token() const { return m_token; }

private:
    wxString m_token;
};

// Reordering a planner list by drag and drop. An IO point kind, module, device or series is
// dragged from its label; it may be dropped only on an element of the same kind in the same
// tree, where it lands before that element when the element was above it and after it when the
// element was below.
class PlannerDrag {
public:
    // onMoved runs after every drop that moved an element.
    PlannerDrag(wxTreeCtrl& treeCtrl, WxTreeControl& tree, std::function<void()> onMoved);
    ~PlannerDrag();

    // The left button went down: a press on the selected element's label may start a drag.
    void OnLeftDown(const wxPoint& point);
    // The mouse moved with the button held: once it leaves the label the drag runs; true then.
    bool OnLeftDrag(const wxPoint& point);
    void OnLeftUp();

    // Whether a drag may start at the point (client coordinates) of the item.
    bool CanStart(TreeItem item, const wxPoint& point) const;
    // Runs the platform's drag loop for the item; true when it ran.
    bool Start(TreeItem item);
    // The process's current drag, set by Start around the platform's loop.
    void Begin(TreeItem item);
    void End();

    // The drop target's side, in client coordinates of the tree.
    wxDragResult Over(const wxPoint& point);
    void Leave();
    // Moves the selected item before or after the highlighted one; false when nothing moved.
    bool Drop(const wxString& token);
    TreeItem Highlighted() const { return m_highlight; }
    // The token of this tree's running drag; empty when it runs none.
    wxString Token() const;

private:
    void Highlight(TreeItem item);

    wxTreeCtrl& m_treeCtrl;
    WxTreeControl& m_tree;
    std::function<void()> m_onMoved;
    TreeItem m_pressItem = kNoItem;
    wxRect m_pressRect;
    TreeItem m_highlight = kNoItem;
};

// The tree's drop target: asks the drag's rules, and takes only the planner's format.
class PlannerDropTarget : public wxDropTarget {
public:
    explicit PlannerDropTarget(PlannerDrag& drag);

    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override;
    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override;
    void OnLeave() override;
    bool OnDrop(wxCoord x, wxCoord y) override;
    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override;

private:
    PlannerDrag& m_drag;
};

} // namespace pinsum::ui
