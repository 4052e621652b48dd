#include "support/memory_tree.h"

#include <algorithm>

namespace pinsum::test {

std::vector<TreeItem>& MemoryTree::SiblingsOf(TreeItem parent) {
    return m_children[parent];
}

const std::vector<TreeItem>& MemoryTree::SiblingsOf(TreeItem parent) const {
    static const std::vector<TreeItem> none;
    const auto it = m_children.find(parent);
    return it == m_children.end() ? none : it->second;
}

TreeItem MemoryTree::InsertItem(TreeItem parent, TreeItem after, const std::string& text, int image,
                                int selectedImage, CioType* data) {
    if (refuseInserts || (parent != kNoItem && !m_items.contains(parent)))
        return kNoItem;
    const TreeItem item = m_next++;
    m_items[item] = Item{parent, text, image, selectedImage, data};
    auto& siblings = SiblingsOf(parent);
    if (after == kInsertFirst) {
        siblings.insert(siblings.begin(), item);
    } else {
        const auto at = std::find(siblings.begin(), siblings.end(), after);
        siblings.insert(at == siblings.end() ? siblings.end() : at + 1, item);
    }
    return item;
}

void MemoryTree::DeleteItem(TreeItem item) {
    const auto it = m_items.find(item);
    if (it == m_items.end())
        return;
    for (const TreeItem child : Children(item))
        DeleteItem(child);
    std::erase(SiblingsOf(it->second.parent), item);
    m_children.erase(item);
    m_items.erase(item);
    if (m_selected == item)
        m_selected = kNoItem;
}

void MemoryTree::SetItemText(TreeItem item, const std::string& text) {
    m_items.at(item).text = text;
}
std::string MemoryTree::GetItemText(TreeItem item) const {
    return m_items.at(item).text;
}

void MemoryTree::SetItemImage(TreeItem item, int image, int selectedImage) {
    m_items.at(item).image = image;
    m_items.at(item).selectedImage = selectedImage;
}

CioType* MemoryTree::GetItemData(TreeItem item) const {
    const auto it = m_items.find(item);
    return it == m_items.end() ? nullptr : it->second.data;
}

TreeItem MemoryTree::GetRootItem() const {
    const auto& top = SiblingsOf(kNoItem);
    return top.empty() ? kNoItem : top.front();
}

TreeItem MemoryTree::GetParent(TreeItem item) const {
    const auto it = m_items.find(item);
    return it == m_items.end() ? kNoItem : it->second.parent;
}

TreeItem MemoryTree::GetFirstChild(TreeItem item) const {
    const auto& children = SiblingsOf(item);
    return children.empty() ? kNoItem : children.front();
}

TreeItem MemoryTree::GetNextSibling(TreeItem item) const {
    const auto& siblings = SiblingsOf(GetParent(item));
    const auto at = std::find(siblings.begin(), siblings.end(), item);
    return at == siblings.end() || at + 1 == siblings.end() ? kNoItem : *(at + 1);
}

TreeItem MemoryTree::GetPrevSibling(TreeItem item) const {
    const auto& siblings = SiblingsOf(GetParent(item));
    const auto at = std::find(siblings.begin(), siblings.end(), item);
    return at == siblings.end() || at == siblings.begin() ? kNoItem : *(at - 1);
}

bool MemoryTree::IsExpanded(TreeItem item) const {
    return m_items.at(item).expanded;
}
void MemoryTree::Expand(TreeItem item, bool expand) {
    m_items.at(item).expanded = expand;
}
bool MemoryTree::IsSelected(TreeItem item) const {
    return m_selected == item;
}
void MemoryTree::Select(TreeItem item) {
    m_selected = item;
}
bool MemoryTree::IsChecked(TreeItem item) const {
    return m_items.at(item).checked;
}
void MemoryTree::SetChecked(TreeItem item, bool checked) {
    m_items.at(item).checked = checked;
}

std::vector<TreeItem> MemoryTree::Children(TreeItem parent) const {
    return SiblingsOf(parent);
}

void MemoryTree::MoveItem(TreeItem item, size_t newIndex) {
    auto& siblings = SiblingsOf(GetParent(item));
    std::erase(siblings, item);
    siblings.insert(siblings.begin() + static_cast<long>(std::min(newIndex, siblings.size())),
                    item);
}

} // namespace pinsum::test
