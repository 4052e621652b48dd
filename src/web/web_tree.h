#pragma once

#include <map>
#include <vector>

#include "model/tree_control.h"

namespace pinsum::web {

// The page's trees kept in the engine: the objects fill them and apply their check rules through
// the same TreeControl calls as the desktop's tree controls, and the page draws them from JSON.
class WebTree : public TreeControl {
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
    const std::vector<TreeItem>& Children(TreeItem parent) const;
    int Image(TreeItem item) const { return m_items.at(item).image; }
    void Clear();

private:
    struct Item {
        TreeItem parent = kNoItem;
        std::string text;
        int image = 0;
        CioType* data = nullptr;
        bool expanded = false;
        bool checked = false;
    };
    const Item* Find(TreeItem item) const;
    TreeItem Sibling(TreeItem item, int step) const;

    std::map<TreeItem, Item> m_items;
    std::map<TreeItem, std::vector<TreeItem>> m_children;
    // Handles are counted across all trees, so that an id from the page names one item of one
    // tree, as the desktop's tree controls' handles do.
    static inline TreeItem s_next = 1;
    TreeItem m_selected = kNoItem;
};

} // namespace pinsum::web
