#include "model/cio_type.h"

#include <atomic>

#include "helptext/help_markup.h"
#include "model/archive.h"
#include "model/item_editors.h"

namespace pinsum {

namespace {

std::atomic<uint32_t> g_nextIdentity{kEmptyVariantId + 1};

} // namespace

uint32_t NewIdentity() {
    uint32_t id = g_nextIdentity.fetch_add(1, std::memory_order_relaxed);
    while (id <= kEmptyVariantId)
        id = g_nextIdentity.fetch_add(1, std::memory_order_relaxed);
    return id;
}

void RestartIdentitiesForTesting() {
    g_nextIdentity = kEmptyVariantId + 1;
}

CioType::CioType() : id(NewIdentity()), name("IO") {}

CioType::CioType(uint32_t identity, const char* name_)
    : id(identity), name(name_ != nullptr ? name_ : "IO") {}

CioType::~CioType() = default;

void CioType::Store(ArchiveWriter& ar) const {
    ar.WriteInt32(kind);
    ar.WriteUInt32(id);
    ar.WriteText(name);
    ar.WriteText(help);
    ar.WriteUInt32(flags);
    ar.WriteInt32(0);
}

void CioType::Load(ArchiveReader& ar) {
    kind = ar.ReadInt32();
    id = ar.ReadUInt32();
    name = ar.ReadText();
    help = ar.ReadText();
    flags = ar.ReadUInt32();
    ar.ReadInt32();
}

void CioType::RenewIds() {
    id = NewIdentity();
}

void CioType::RefreshItem(TreeControl& tree) const {
    tree.SetItemText(treeItem, GetText());
    tree.SetItemImage(treeItem, GetImage(), GetImage());
}

void CioType::OnItemExpanded(TreeControl& tree) {
    if (treeItem != kNoItem)
        RefreshItem(tree);
}

void CioType::SyncTreeState(TreeControl& tree, bool read) {
    if (treeItem == kNoItem) {
        flags &= ~(FLAG_EXPANDED | FLAG_SELECTED);
        return;
    }
    if (read) {
        flags &= ~(FLAG_EXPANDED | FLAG_SELECTED | FLAG_CHECKED);
        if (tree.IsExpanded(treeItem))
            flags |= FLAG_EXPANDED;
        if (tree.IsSelected(treeItem))
            flags |= FLAG_SELECTED;
        if (tree.IsChecked(treeItem))
            flags |= FLAG_CHECKED;
        return;
    }
    tree.Expand(treeItem, (flags & FLAG_EXPANDED) != 0);
    if (flags & FLAG_SELECTED)
        tree.Select(treeItem);
    tree.SetItemImage(treeItem, GetImage(), GetImage());
    if (flags & FLAG_CHECKED)
        tree.SetChecked(treeItem, true);
}

int CioType::GetImage() const {
    return Category() == 0 ? 4 : 8;
}

TreeItem CioType::InsertToTree(TreeItem parent, TreeControl& tree, TreeItem after) {
    treeItem = tree.InsertItem(parent, after, GetText(), GetImage(), GetImage(), this);
    return treeItem;
}

int CioType::InsertItem(TreeControl& tree) {
    if (treeItem == kNoItem)
        return 0;
    const TreeItem parent = tree.GetParent(treeItem);
    CioType* owner = parent != kNoItem ? tree.GetItemData(parent) : nullptr;
    return owner != nullptr ? owner->InsertItem(tree) : 0;
}

int CioType::DeleteItem(TreeControl& tree, CioType* child) {
    if (child != nullptr || treeItem == kNoItem)
        return 0;
    const TreeItem root = tree.GetRootItem();
    if (CioType* rootObject = root != kNoItem ? tree.GetItemData(root) : nullptr)
        rootObject->ForgetRef(this);
    const TreeItem parent = tree.GetParent(treeItem);
    CioType* owner = parent != kNoItem ? tree.GetItemData(parent) : nullptr;
    return owner != nullptr ? owner->DeleteItem(tree, this) : 0;
}

int CioType::EditItem(TreeControl& tree) {
    ItemEditors* editors = tree.Editors();
    if (treeItem == kNoItem || editors == nullptr || !editors->EditIoPoint(*this))
        return 0;
    RefreshItem(tree);
    return 1;
}

int CioType::IsInsertItem(TreeControl& tree) const {
    if (treeItem == kNoItem)
        return 0;
    const TreeItem parent = tree.GetParent(treeItem);
    return parent != kNoItem && tree.GetItemData(parent) != nullptr ? 1 : 0;
}

int CioType::IsDeleteItem(TreeControl& tree) const {
    if (treeItem == kNoItem)
        return 0;
    const TreeItem parent = tree.GetParent(treeItem);
    const TreeItem root = tree.GetRootItem();
    return parent != kNoItem && root != kNoItem && tree.GetItemData(parent) != nullptr &&
                   tree.GetItemData(root) != nullptr
               ? 1
               : 0;
}

int CioType::IsEditItem(TreeControl&) const {
    return treeItem != kNoItem ? 1 : 0;
}

int CioType::PrepareHelp(std::string& out) const {
    if (help.empty())
        return 0;
    GetHelpMarkup(out);
    return 1;
}

void CioType::CopyRootFrom(const CioType& other) {
    flags = other.flags;
    help = other.help;
    treeItem = other.treeItem;
    id = other.id;
    name = other.name;
    price = other.price;
    ioCount = other.ioCount;
}

void CioType::CopyFrom(const CioType* other) {
    if (other != nullptr)
        CopyRootFrom(*other);
}

int CioType::IsEqual(const CioType* other) const {
    return other != nullptr && other->kind == kind ? 1 : 0;
}

void CioType::GetHelpMarkup(std::string& out) const {
    out = ToMarkup(help);
}

void CioType::ComputeTotals() {
    price = 0.0;
    ioCount = 0;
}

void CioType::Describe(std::string&, const std::string&) const {}

void CioType::SetCategory(int category) {
    flags = (flags & ~FLAG_CATEGORY_MASK) | ((static_cast<uint32_t>(category) & 0xFF) << 8);
}

} // namespace pinsum
