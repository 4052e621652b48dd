#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/tree_control.h"

namespace pinsum::test {

// An in-memory tree control: items with text, images, object, expanded/selected/checked state.
class MemoryTree : public TreeControl {
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
    ItemEditors* Editors() override { return editors; }

    // Children of an item (kNoItem: the top level), in order.
    std::vector<TreeItem> Children(TreeItem parent) const;
    // Moves an item to another index among its siblings, as a drag and drop does.
    void MoveItem(TreeItem item, size_t newIndex);
    int Image(TreeItem item) const { return m_items.at(item).image; }
    TreeItem Selected() const { return m_selected; }
    size_t Size() const { return m_items.size(); }
    // Refuses every insertion while set.
    bool refuseInserts = false;
    ItemEditors* editors = nullptr;

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
    std::vector<TreeItem>& SiblingsOf(TreeItem parent);
    const std::vector<TreeItem>& SiblingsOf(TreeItem parent) const;

    std::map<TreeItem, Item> m_items;
    std::map<TreeItem, std::vector<TreeItem>> m_children;
    TreeItem m_next = 1;
    TreeItem m_selected = kNoItem;
};

} // namespace pinsum::test
