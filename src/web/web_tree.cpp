#include "web_tree.h"

#include <algorithm>

namespace pinsum::web {

const WebTree::Item* WebTree::Find(TreeItem item) const {
    const auto it = m_items.find(item);
    return it == m_items.end() ? nullptr : &it->second;
}

const std::vector<TreeItem>& WebTree::Children(TreeItem parent) const {
    static const std::vector<TreeItem> none;
    const auto it = m_children.find(parent);
    return it == m_children.end() ? none : it->second;
}

void WebTree::Clear() {
    m_items.clear();
    m_children.clear();
    m_selected = kNoItem;
}

TreeItem WebTree::InsertItem(TreeItem parent, TreeItem after, const std::string& text, int image,
                             int, CioType* data) {
    if (parent != kNoItem && !Has(parent))
        return kNoItem;
    const TreeItem item = s_next++;
    m_items[item] = Item{parent, text, image, data};
    auto& siblings = m_children[parent];
    const auto at = after == kInsertFirst ? siblings.begin()
                                          : std::find(siblings.begin(), siblings.end(), after);
    siblings.insert(after == kInsertFirst || at == siblings.end() ? at : at + 1, item);
    return item;
}

void WebTree::DeleteItem(TreeItem item) {
    const Item* found = Find(item);
    if (found == nullptr)
        return;
    for (const TreeItem child : std::vector<TreeItem>(Children(item)))
        DeleteItem(child);
    std::erase(m_children[found->parent], item);
    m_children.erase(item);
    m_items.erase(item);
    if (m_selected == item)
        m_selected = kNoItem;
}

void WebTree::SetItemText(TreeItem item, const std::string& text) {
    if (Has(item))
        m_items[item].text = text;
}

std::string WebTree::GetItemText(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr ? found->text : std::string();
}

void WebTree::SetItemImage(TreeItem item, int image, int) {
    if (Has(item))
        m_items[item].image = image;
}

CioType* WebTree::GetItemData(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr ? found->data : nullptr;
}

TreeItem WebTree::GetRootItem() const {
    return GetFirstChild(kNoItem);
}

TreeItem WebTree::GetParent(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr ? found->parent : kNoItem;
}

TreeItem WebTree::GetFirstChild(TreeItem item) const {
    const auto& children = Children(item);
    return children.empty() ? kNoItem : children.front();
}

TreeItem WebTree::Sibling(TreeItem item, int step) const {
    const Item* found = Find(item);
    if (found == nullptr)
        return kNoItem;
    const auto& siblings = Children(found->parent);
    const auto at = std::find(siblings.begin(), siblings.end(), item) - siblings.begin() + step;
    return at < 0 || at >= static_cast<long>(siblings.size()) ? kNoItem : siblings[at];
}

TreeItem WebTree::GetNextSibling(TreeItem item) const {
    return Sibling(item, 1);
}

TreeItem WebTree::GetPrevSibling(TreeItem item) const {
    return Sibling(item, -1);
}

bool WebTree::IsExpanded(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr && found->expanded;
}

void WebTree::Expand(TreeItem item, bool expand) {
    if (Has(item))
        m_items[item].expanded = expand;
}

bool WebTree::IsSelected(TreeItem item) const {
    return item != kNoItem && item == m_selected;
}

void WebTree::Select(TreeItem item) {
    m_selected = Has(item) ? item : kNoItem;
}

bool WebTree::IsChecked(TreeItem item) const {
    const Item* found = Find(item);
    return found != nullptr && found->checked;
}

void WebTree::SetChecked(TreeItem item, bool checked) {
    if (Has(item))
        m_items[item].checked = checked;
}

} // namespace pinsum::web
