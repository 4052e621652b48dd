#include "model/memory_tree_control.h"

#include <algorithm>
#include <atomic>

namespace pinsum {
namespace {

std::atomic<TreeItem> g_nextHandle{1};

} // namespace

MemoryTreeControl::Item* MemoryTreeControl::Find(TreeItem item) {
    const auto it = m_items.find(item);
    return it == m_items.end() ? nullptr : &it->second;
}

const MemoryTreeControl::Item* MemoryTreeControl::Find(TreeItem item) const {
    const auto it = m_items.find(item);
    return it == m_items.end() ? nullptr : &it->second;
}

const std::vector<TreeItem>& MemoryTreeControl::SiblingsOf(TreeItem parent) const {
    static const std::vector<TreeItem> none;
    const auto it = m_children.find(parent);
    return it == m_children.end() ? none : it->second;
}

TreeItem MemoryTreeControl::InsertItem(TreeItem parent, TreeItem after, const std::string& text,
                                       int image, int selectedImage, CioType* data) {
    if (parent != kNoItem && !Has(parent))
        return kNoItem;
    const TreeItem item = g_nextHandle++;
    m_items[item] = Item{parent, text, image, selectedImage, data};
    auto& siblings = m_children[parent];
    const auto at = after == kInsertFirst ? siblings.begin()
                                          : std::find(siblings.begin(), siblings.end(), after);
    siblings.insert(after == kInsertFirst || at == siblings.end() ? at : at + 1, item);
    return item;
}

void MemoryTreeControl::DeleteItem(TreeItem item) {
    const Item* found = Find(item);
    if (found == nullptr)
        return;
    for (const TreeItem child : Children(item))
        DeleteItem(child);
    std::erase(m_children[found->parent], item);
    m_children.erase(item);
    m_items.erase(item);
    if (m_selected == item)
        m_selected = kNoItem;
}

void MemoryTreeControl::SetItemText(TreeItem item, const std::string& text) {
    if (Item* found = Find(item))
        found->text = text;
}

std::string MemoryTreeControl::GetItemText(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr ? found->text : std::string();
}

void MemoryTreeControl::SetItemImage(TreeItem item, int image, int selectedImage) {
    if (Item* found = Find(item)) {
        found->image = image;
        found->selectedImage = selectedImage;
    }
}

int MemoryTreeControl::Image(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr ? found->image : 0;
}

CioType* MemoryTreeControl::GetItemData(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr ? found->data : nullptr;
}

TreeItem MemoryTreeControl::GetRootItem() const {
    return GetFirstChild(kNoItem);
}

TreeItem MemoryTreeControl::GetParent(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr ? found->parent : kNoItem;
}

TreeItem MemoryTreeControl::GetFirstChild(TreeItem item) const {
    const auto& children = SiblingsOf(item);
    return children.empty() ? kNoItem : children.front();
}

TreeItem MemoryTreeControl::Sibling(TreeItem item, long step) const {
    const Item* found = Find(item);
    if (found == nullptr)
        return kNoItem;
    const auto& siblings = SiblingsOf(found->parent);
    const long at = std::find(siblings.begin(), siblings.end(), item) - siblings.begin() + step;
    return at < 0 || at >= static_cast<long>(siblings.size()) ? kNoItem
                                                              : siblings[static_cast<size_t>(at)];
}

TreeItem MemoryTreeControl::GetNextSibling(TreeItem item) const {
    return Sibling(item, 1);
}

TreeItem MemoryTreeControl::GetPrevSibling(TreeItem item) const {
    return Sibling(item, -1);
}

bool MemoryTreeControl::IsExpanded(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr && found->expanded;
}

void MemoryTreeControl::Expand(TreeItem item, bool expand) {
    if (Item* found = Find(item))
        found->expanded = expand;
}

bool MemoryTreeControl::IsSelected(TreeItem item) const {
    return item != kNoItem && item == m_selected;
}

void MemoryTreeControl::Select(TreeItem item) {
    m_selected = Has(item) ? item : kNoItem;
}

bool MemoryTreeControl::IsChecked(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr && found->checked;
}

void MemoryTreeControl::SetChecked(TreeItem item, bool checked) {
    if (Item* found = Find(item))
        found->checked = checked;
}

std::vector<TreeItem> MemoryTreeControl::Children(TreeItem parent) const {
    return SiblingsOf(parent);
}

void MemoryTreeControl::MoveItem(TreeItem item, size_t newIndex) {
    auto& siblings = m_children[GetParent(item)];
    std::erase(siblings, item);
    siblings.insert(siblings.begin() + static_cast<long>(std::min(newIndex, siblings.size())),
                    item);
}

void MemoryTreeControl::Clear() {
    m_items.clear();
    m_children.clear();
    m_selected = kNoItem;
}

} // namespace pinsum
