#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "model/tree_control.h"

namespace pinsum {

// A tree control kept in memory, for a front end that draws the tree itself (the browser page)
// and for tests. Calls on an item it does not hold change nothing and answer as for no item.
// Handles are counted across all its instances, so that a handle names one item of one tree, as
// the handles of the desktop's tree controls do.
class MemoryTreeControl : public TreeControl {
public:
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

    bool Has(TreeItem item) const { return m_items.contains(item); }
    // Children of an item (kNoItem: the top level), in order.
    std::vector<TreeItem> Children(TreeItem parent) const;
    // Moves an item to another index among its siblings, as a drag and drop does.
    void MoveItem(TreeItem item, size_t newIndex);
    int Image(TreeItem item) const;
    TreeItem Selected() const { return m_selected; }
    size_t Size() const { return m_items.size(); }
    void Clear();

private:
    struct Item {
        TreeItem parent = kNoItem;
        std::string text;
        int image = 0;
        int selectedImage = 0;
        CioType* data = nullptr;
        bool expanded = false;
        bool checked = false;
    };
    Item* Find(TreeItem item);
    const Item* Find(TreeItem item) const;
    const std::vector<TreeItem>& SiblingsOf(TreeItem parent) const;
    TreeItem Sibling(TreeItem item, long step) const;

    std::map<TreeItem, Item> m_items;
    std::map<TreeItem, std::vector<TreeItem>> m_children;
    TreeItem m_selected = kNoItem;
};

} // namespace pinsum
