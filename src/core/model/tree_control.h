#pragma once

#include <cstdint>
#include <string>

namespace pinsum {

class CioType;
class ItemEditors;

// Opaque handle of a tree item; kNoItem is "none".
using TreeItem = std::uintptr_t;
constexpr TreeItem kNoItem = 0;
// Insert-after positions besides a real item.
constexpr TreeItem kInsertFirst = ~static_cast<TreeItem>(0) - 1;
constexpr TreeItem kInsertLast = ~static_cast<TreeItem>(0) - 2;

// The tree control the objects' tree operations drive: wxTreeCtrl in the GUI, an in-memory tree
// in tests. Items carry a non-owning object pointer, an image pair and a check box.
// Called only on the user-interface thread.
class TreeControl {
public:
    virtual ~TreeControl() = default;

    // parent kNoItem inserts at the top level; returns kNoItem when the tree refuses.
    virtual TreeItem InsertItem(TreeItem parent, TreeItem after, const std::string& text, int image,
                                int selectedImage, CioType* data) = 0;
    virtual void DeleteItem(TreeItem item) = 0;

    virtual void SetItemText(TreeItem item, const std::string& text) = 0;
    virtual std::string GetItemText(TreeItem item) const = 0;
    virtual void SetItemImage(TreeItem item, int image, int selectedImage) = 0;
    virtual CioType* GetItemData(TreeItem item) const = 0;

    // The first top-level item (the tree's root item), or kNoItem.
    virtual TreeItem GetRootItem() const = 0;
    virtual TreeItem GetParent(TreeItem item) const = 0;
    virtual TreeItem GetFirstChild(TreeItem item) const = 0;
    virtual TreeItem GetNextSibling(TreeItem item) const = 0;
    virtual TreeItem GetPrevSibling(TreeItem item) const = 0;

    virtual bool IsExpanded(TreeItem item) const = 0;
    virtual void Expand(TreeItem item, bool expand) = 0;
    virtual bool IsSelected(TreeItem item) const = 0;
    virtual void Select(TreeItem item) = 0;
    virtual bool IsChecked(TreeItem item) const = 0;
    virtual void SetChecked(TreeItem item, bool checked) = 0;

    // The property dialogs this tree's items open; none where items are not editable.
    virtual ItemEditors* Editors() { return nullptr; }
};

} // namespace pinsum
