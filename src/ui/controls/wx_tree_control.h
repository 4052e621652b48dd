#pragma once

#include <functional>

#include <wx/treectrl.h>

#include "model/tree_control.h"

namespace pinsum::ui {

// The engine's tree control on a wxTreeCtrl with a hidden root, so that the engine's top-level
// items are the control's top-level items. Items with check boxes carry state image 0
// (unchecked) or 1 (checked); a click on the box or the space bar toggles it and calls the
// check handler.
class WxTreeControl : public TreeControl {
public:
    // The tree must outlive this object. withCheckBoxes gives every new item a box.
    WxTreeControl(wxTreeCtrl& tree, bool withCheckBoxes);

    TreeItem InsertItem(TreeItem parent, TreeItem after, const std::string& text, int image,
                        int selectedImage, CioType* data) override;
    void DeleteItem(TreeItem item) override;
    void SetItemText(TreeItem item, const std::string& text) override;
    std::string GetItemText(TreeItem item) const override;
    void SetItemImage(TreeItem item, int image, int selectedImage) override;
    CioType* GetItemData(TreeItem item) const override;
    TreeItem GetRootItem() const override;
    TreeItem GetParent(TreeItem item) const override;
    TreeItem GetFirstChild(TreeItem item) const override;
    TreeItem GetNextSibling(TreeItem item) const override;
    TreeItem GetPrevSibling(TreeItem item) const override;
    bool IsExpanded(TreeItem item) const override;
    void Expand(TreeItem item, bool expand) override;
    bool IsSelected(TreeItem item) const override;
    void Select(TreeItem item) override;
    bool IsChecked(TreeItem item) const override;
    void SetChecked(TreeItem item, bool checked) override;
    ItemEditors* Editors() override { return m_editors; }

    void SetEditors(ItemEditors* editors) { m_editors = editors; }
    // Called after the user toggled an item's box, with the new state already shown.
    void OnCheckToggled(std::function<void(TreeItem)> handler) { m_onToggle = std::move(handler); }
    // Deletes every item but the hidden root.
    void DeleteAll();

    wxTreeCtrl& Control() const { return m_tree; }
    static TreeItem Handle(const wxTreeItemId& id);
    static wxTreeItemId Id(TreeItem item);
    CioType* Selected() const;

private:
    void Toggle(const wxTreeItemId& item);
    wxTreeItemId HiddenRoot() const { return m_tree.GetRootItem(); }
    TreeItem Visible(const wxTreeItemId& id) const;

    wxTreeCtrl& m_tree;
    bool m_checkBoxes;
    ItemEditors* m_editors = nullptr;
    std::function<void(TreeItem)> m_onToggle;
};

} // namespace pinsum::ui
