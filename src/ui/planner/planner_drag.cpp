#include "planner/planner_drag.h"

#include <unistd.h>

#include <atomic>
#include <cstring>

#include "controls/wx_tree_control.h"
#include "model/cio_type.h"

namespace pinsum::ui {
namespace {

// The drag this process runs, if any. A drop target of another tree, or of another process,
// never finds its own drag here and refuses.
struct CurrentDrag {
    const PlannerDrag* source = nullptr;
    CioType* object = nullptr;
    wxString token;
};

CurrentDrag& Current() {
    static CurrentDrag drag;
    return drag;
}

wxString NewToken() {
    static std::atomic<unsigned> serial{0};
    return wxString::Format("%ld:%u", static_cast<long>(getpid()), ++serial);
}

bool Draggable(const CioType* object) {
    return object != nullptr && (object->kind == C_IO || object->kind == C_MODUL_IO ||
                                 object->kind == C_PLC_IO || object->kind == C_LINE_TYPE_IO);
}

} // namespace

const wxDataFormat& PlannerDragFormat() {
    static const wxDataFormat format("Planner graphic elements");
    return format;
}

PlannerDragData::PlannerDragData(const wxString& token)
    : wxDataObjectSimple(PlannerDragFormat()), m_token(token) {}

size_t PlannerDragData::GetDataSize() const {
    return m_token.utf8_str().length();
}

bool PlannerDragData::GetDataHere(void* buffer) const {
    const wxScopedCharBuffer text = m_token.utf8_str();
    std::memcpy(buffer, text.data(), text.length());
    return true;
}

bool PlannerDragData::SetData(size_t length, const void* buffer) {
    // A token is short; anything longer is not ours.
    if (length > 64)
        return false;
    m_token = wxString::FromUTF8(static_cast<const char*>(buffer), length);
    return true;
}

PlannerDrag::PlannerDrag(wxTreeCtrl& treeCtrl, WxTreeControl& tree, std::function<void()> onMoved)
    : m_treeCtrl(treeCtrl), m_tree(tree), m_onMoved(std::move(onMoved)) {}

PlannerDrag::~PlannerDrag() {
    if (Current().source == this)
        End();
}

bool PlannerDrag::CanStart(TreeItem item, const wxPoint& point) const {
    if (item == kNoItem || !Draggable(m_tree.GetItemData(item)))
        return false;
    wxRect label;
    return m_treeCtrl.GetBoundingRect(WxTreeControl::Id(item), label, true) &&
           label.Contains(point);
}

void PlannerDrag::OnLeftDown(const wxPoint& point) {
    m_pressItem = kNoItem;
    const wxTreeItemId selected = m_treeCtrl.GetSelection();
    const TreeItem item = selected.IsOk() ? WxTreeControl::Handle(selected) : kNoItem;
    if (CanStart(item, point)) {
        m_pressItem = item;
        m_treeCtrl.GetBoundingRect(selected, m_pressRect, true);
    }
}

bool PlannerDrag::OnLeftDrag(const wxPoint& point) {
    // Within the label the press is still a click (or the first half of a double click).
    if (m_pressItem == kNoItem || m_pressRect.Contains(point))
        return false;
    const TreeItem item = m_pressItem;
    m_pressItem = kNoItem;
    return Start(item);
}

void PlannerDrag::OnLeftUp() {
    m_pressItem = kNoItem;
}

void PlannerDrag::Begin(TreeItem item) {
    Current() = CurrentDrag{this, m_tree.GetItemData(item), NewToken()};
}

void PlannerDrag::End() {
    if (Current().source == this)
        Current() = CurrentDrag{};
    Leave();
}

bool PlannerDrag::Start(TreeItem item) {
    if (!Draggable(m_tree.GetItemData(item)))
        return false;
    Begin(item);
    PlannerDragData data(Current().token);
    wxDropSource source(data, &m_treeCtrl);
    source.DoDragDrop(wxDrag_AllowMove);
    End();
    return true;
}

wxString PlannerDrag::Token() const {
    return Current().source == this ? Current().token : wxString();
}

void PlannerDrag::Highlight(TreeItem item) {
    if (item == m_highlight)
        return;
    if (m_highlight != kNoItem)
        m_treeCtrl.SetItemDropHighlight(WxTreeControl::Id(m_highlight), false);
    m_highlight = item;
    if (m_highlight != kNoItem)
        m_treeCtrl.SetItemDropHighlight(WxTreeControl::Id(m_highlight), true);
}

wxDragResult PlannerDrag::Over(const wxPoint& point) {
    int flags = 0;
    const wxTreeItemId hit = m_treeCtrl.HitTest(point, flags);
    const bool onItem = (flags & (wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL |
                                  wxTREE_HITTEST_ONITEMSTATEICON)) != 0;
    const CioType* target =
        hit.IsOk() && onItem ? m_tree.GetItemData(WxTreeControl::Handle(hit)) : nullptr;
    const CioType* dragged = Current().source == this ? Current().object : nullptr;
    if (dragged == nullptr || target == nullptr || dragged->kind != target->kind) {
        Highlight(kNoItem);
        return wxDragNone;
    }
    Highlight(WxTreeControl::Handle(hit));
    return wxDragCopy;
}

void PlannerDrag::Leave() {
    Highlight(kNoItem);
}

bool PlannerDrag::Drop(const wxString& token) {
    const TreeItem target = m_highlight;
    Highlight(kNoItem);
    const wxTreeItemId selectedId = m_treeCtrl.GetSelection();
    const TreeItem selected = selectedId.IsOk() ? WxTreeControl::Handle(selectedId) : kNoItem;
    CioType* object = m_tree.GetItemData(selected);
    // Only this tree's own drag of its selected element moves anything.
    if (target == kNoItem || selected == kNoItem || target == selected || object == nullptr ||
        Current().source != this || Current().object != object || token != Current().token)
        return false;
    bool targetAbove = false;
    for (TreeItem item = m_tree.GetPrevSibling(selected); item != kNoItem;
         item = m_tree.GetPrevSibling(item))
        if (item == target)
            targetAbove = true;
    const TreeItem parent = m_tree.GetParent(target);
    TreeItem after = target;
    if (targetAbove) {
        after = m_tree.GetPrevSibling(target);
        if (after == kNoItem)
            after = kInsertFirst;
    }
    object->SyncTreeState(m_tree, true);
    m_tree.DeleteItem(selected);
    object->InsertToTree(parent, m_tree, after);
    object->SyncTreeState(m_tree, false);
    if (object->treeItem != kNoItem)
        m_tree.Select(object->treeItem);
    if (CioType* owner = m_tree.GetItemData(parent))
        owner->ReadChildrenFromTree(m_tree);
    if (m_onMoved)
        m_onMoved();
    return true;
}

PlannerDropTarget::PlannerDropTarget(PlannerDrag& drag)
    : wxDropTarget(new PlannerDragData()), m_drag(drag) {}

wxDragResult PlannerDropTarget::OnEnter(wxCoord x, wxCoord y, wxDragResult def) {
    return OnDragOver(x, y, def);
}

wxDragResult PlannerDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult def) {
    // Data of another format is refused before any rule is asked.
    if (wxDropTarget::OnDragOver(x, y, def) == wxDragNone) {
        m_drag.Leave();
        return wxDragNone;
    }
    return m_drag.Over(wxPoint(x, y));
}

void PlannerDropTarget::OnLeave() {
    m_drag.Leave();
}

bool PlannerDropTarget::OnDrop(wxCoord, wxCoord) {
    return m_drag.Highlighted() != kNoItem;
}

wxDragResult PlannerDropTarget::OnData(wxCoord, wxCoord, wxDragResult def) {
    if (!GetData()) {
        m_drag.Leave();
        return wxDragNone;
    }
    const auto* data = static_cast<PlannerDragData*>(GetDataObject());
    return m_drag.Drop(data->Token()) ? def : wxDragNone;
}

} // namespace pinsum::ui
