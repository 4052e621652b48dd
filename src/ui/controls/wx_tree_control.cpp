#include "controls/wx_tree_control.h"

#include "common/wx_text.h"

namespace pinsum::ui {
namespace {

constexpr int kUnchecked = 0;
constexpr int kChecked = 1;

class ObjectData : public wxTreeItemData {
public:
    explicit ObjectData(CioType* object) : object(object) {}
    CioType* object;
};

} // namespace

WxTreeControl::WxTreeControl(wxTreeCtrl& tree, bool withCheckBoxes)
    : m_tree(tree), m_checkBoxes(withCheckBoxes) {
    if (!m_tree.GetRootItem().IsOk())
        m_tree.AddRoot(wxString());
    if (!m_checkBoxes)
        return;
    m_tree.Bind(wxEVT_TREE_STATE_IMAGE_CLICK,
                [this](wxTreeEvent& event) { Toggle(event.GetItem()); });
    m_tree.Bind(wxEVT_TREE_KEY_DOWN, [this](wxTreeEvent& event) {
        const wxTreeItemId item = m_tree.GetFocusedItem();
        if (event.GetKeyCode() == WXK_SPACE && item.IsOk())
            Toggle(item);
        else
            event.Skip();
    });
}

TreeItem WxTreeControl::Handle(const wxTreeItemId& id) {
    return id.IsOk() ? reinterpret_cast<TreeItem>(id.GetID()) : kNoItem;
}

wxTreeItemId WxTreeControl::Id(TreeItem item) {
    return wxTreeItemId(reinterpret_cast<void*>(item));
}

TreeItem WxTreeControl::Visible(const wxTreeItemId& id) const {
    return id.IsOk() && id != HiddenRoot() ? Handle(id) : kNoItem;
}

TreeItem WxTreeControl::InsertItem(TreeItem parent, TreeItem after, const std::string& text,
                                   int image, int selectedImage, CioType* data) {
    const wxTreeItemId parentId = parent == kNoItem ? HiddenRoot() : Id(parent);
    const wxString label = FromModel(text);
    auto* itemData = new ObjectData(data);
    wxTreeItemId id;
    if (after == kInsertLast)
        id = m_tree.AppendItem(parentId, label, image, selectedImage, itemData);
    else if (after == kInsertFirst)
        id = m_tree.InsertItem(parentId, 0, label, image, selectedImage, itemData);
    else
        id = m_tree.InsertItem(parentId, Id(after), label, image, selectedImage, itemData);
    if (!id.IsOk()) {
        delete itemData;
        return kNoItem;
    }
    if (m_checkBoxes)
        m_tree.SetItemState(id, kUnchecked);
    return Handle(id);
}

void WxTreeControl::DeleteItem(TreeItem item) {
    if (item != kNoItem)
        m_tree.Delete(Id(item));
}

void WxTreeControl::DeleteAll() {
    m_tree.DeleteChildren(HiddenRoot());
}

void WxTreeControl::SetItemText(TreeItem item, const std::string& text) {
    m_tree.SetItemText(Id(item), FromModel(text));
}

std::string WxTreeControl::GetItemText(TreeItem item) const {
    return ToModel(m_tree.GetItemText(Id(item)));
}

void WxTreeControl::SetItemImage(TreeItem item, int image, int selectedImage) {
    m_tree.SetItemImage(Id(item), image, wxTreeItemIcon_Normal);
    m_tree.SetItemImage(Id(item), selectedImage, wxTreeItemIcon_Selected);
}

CioType* WxTreeControl::GetItemData(TreeItem item) const {
    if (item == kNoItem)
        return nullptr;
    const auto* data = static_cast<ObjectData*>(m_tree.GetItemData(Id(item)));
    return data != nullptr ? data->object : nullptr;
}

TreeItem WxTreeControl::GetRootItem() const {
    wxTreeItemIdValue cookie;
    return Handle(m_tree.GetFirstChild(HiddenRoot(), cookie));
}

TreeItem WxTreeControl::GetParent(TreeItem item) const {
    return Visible(m_tree.GetItemParent(Id(item)));
}

TreeItem WxTreeControl::GetFirstChild(TreeItem item) const {
    wxTreeItemIdValue cookie;
    return Handle(m_tree.GetFirstChild(item == kNoItem ? HiddenRoot() : Id(item), cookie));
}

TreeItem WxTreeControl::GetNextSibling(TreeItem item) const {
    return Handle(m_tree.GetNextSibling(Id(item)));
}

TreeItem WxTreeControl::GetPrevSibling(TreeItem item) const {
    return Handle(m_tree.GetPrevSibling(Id(item)));
}

bool WxTreeControl::IsExpanded(TreeItem item) const {
    return m_tree.IsExpanded(Id(item));
}

void WxTreeControl::Expand(TreeItem item, bool expand) {
    if (!m_tree.ItemHasChildren(Id(item)))
        return;
    if (expand)
        m_tree.Expand(Id(item));
    else
        m_tree.Collapse(Id(item));
}

bool WxTreeControl::IsSelected(TreeItem item) const {
    return m_tree.IsSelected(Id(item));
}

void WxTreeControl::Select(TreeItem item) {
    m_tree.SelectItem(Id(item));
}

bool WxTreeControl::IsChecked(TreeItem item) const {
    return m_checkBoxes && m_tree.GetItemState(Id(item)) == kChecked;
}

void WxTreeControl::SetChecked(TreeItem item, bool checked) {
    if (m_checkBoxes)
        m_tree.SetItemState(Id(item), checked ? kChecked : kUnchecked);
}

CioType* WxTreeControl::Selected() const {
    const wxTreeItemId id = m_tree.GetSelection();
    return id.IsOk() && id != HiddenRoot() ? GetItemData(Handle(id)) : nullptr;
}

void WxTreeControl::Toggle(const wxTreeItemId& item) {
    if (!item.IsOk() || item == HiddenRoot())
        return;
    SetChecked(Handle(item), !IsChecked(Handle(item)));
    if (m_onToggle)
        m_onToggle(Handle(item));
}

} // namespace pinsum::ui
