#include "model/cio_array.h"

#include <algorithm>
#include <typeinfo>

#include "host/program_texts.h"
#include "model/archive.h"
#include "model/object_stream.h"

namespace pinsum {
namespace {

// A tagged object takes at least its tag and its root header.
constexpr size_t kMinObjectBytes = 20;

} // namespace

std::string ContainerLabel(int32_t contentKind) {
    switch (contentKind) {
    case C_IO:
        return ProgramText(TextId::ListIoKinds);
    case C_MODUL_IO:
        return ProgramText(TextId::ListModules);
    case C_PLC_IO:
        return ProgramText(TextId::ListDevices);
    case C_LINE_TYPE_IO:
        return ProgramText(TextId::ListSeries);
    default:
        return {};
    }
}

int FolderImage(uint32_t flags) {
    return (flags & FLAG_EXPANDED) ? 2 : 1;
}

CioArray::CioArray() {
    kind = C_ARRAY_IO;
}

CioArray::CioArray(int32_t contentKind_) : CioArray() {
    contentKind = contentKind_;
}

CioArray::~CioArray() = default;

void CioArray::RemoveAll() {
    children.clear();
}

void CioArray::Store(ArchiveWriter& ar) const {
    CioType::Store(ar);
    ar.WriteInt32(static_cast<int32_t>(children.size()));
    for (const auto& child : children)
        WriteObject(ar, child.get());
    ar.WriteInt32(contentKind);
    ar.WriteInt32(0);
}

void CioArray::Load(ArchiveReader& ar) {
    CioType::Load(ar);
    children.clear();
    const uint32_t count = ar.ReadCount(kMinObjectBytes);
    children.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        children.push_back(ReadObject(ar));
    contentKind = ar.ReadInt32();
    ar.ReadInt32();
}

void CioArray::RenewIds() {
    CioType::RenewIds();
    for (const auto& child : children)
        child->RenewIds();
}

void CioArray::ResolveRefs(const IdentityTable& table) {
    for (const auto& child : children)
        child->ResolveRefs(table);
}

void CioArray::ForgetRef(const CioType* object) {
    for (const auto& child : children)
        child->ForgetRef(object);
}

std::string CioArray::GetText() const {
    return ContainerLabel(contentKind);
}

void CioArray::OnItemExpanded(TreeControl& tree) {
    if (treeItem == kNoItem)
        return;
    CioType::SyncTreeState(tree, true);
    RefreshItem(tree);
    for (const auto& child : children)
        child->OnItemExpanded(tree);
}

void CioArray::SyncTreeState(TreeControl& tree, bool read) {
    CioType::SyncTreeState(tree, read);
    for (const auto& child : children)
        child->SyncTreeState(tree, read);
}

int CioArray::GetImage() const {
    return FolderImage(flags);
}

TreeItem CioArray::InsertToTree(TreeItem parent, TreeControl& tree, TreeItem after) {
    const TreeItem own = CioType::InsertToTree(parent, tree, after);
    if (own == kNoItem)
        return parent;
    for (const auto& child : children)
        child->InsertToTree(own, tree, kInsertLast);
    return own;
}

int CioArray::InsertItem(TreeControl& tree) {
    if (treeItem == kNoItem)
        return 0;
    auto object = CreateObject(contentKind);
    if (object == nullptr)
        return 0;
    object->InsertToTree(treeItem, tree, kInsertLast);
    if (object->treeItem == kNoItem)
        return 0;
    flags |= FLAG_EXPANDED;
    object->flags |= FLAG_SELECTED;
    children.push_back(std::move(object));
    SyncTreeState(tree, false);
    const TreeItem root = tree.GetRootItem();
    if (CioType* rootObject = root != kNoItem ? tree.GetItemData(root) : nullptr)
        rootObject->SyncTreeState(tree, true);
    return 1;
}

int CioArray::DeleteItem(TreeControl& tree, CioType* child) {
    if (treeItem == kNoItem || child == nullptr)
        return 0;
    const auto it = std::find_if(children.begin(), children.end(),
                                 [child](const auto& c) { return c.get() == child; });
    if (it == children.end())
        return 0;
    const TreeItem root = tree.GetRootItem();
    CioType* rootObject = root != kNoItem ? tree.GetItemData(root) : nullptr;
    if (rootObject != nullptr)
        rootObject->ForgetRef(child);
    if (child->treeItem != kNoItem)
        tree.DeleteItem(child->treeItem);
    const auto index = static_cast<size_t>(it - children.begin());
    children.erase(it);
    if (children.empty())
        flags |= FLAG_SELECTED;
    else
        children[std::min(index, children.size() - 1)]->flags |= FLAG_SELECTED;
    SyncTreeState(tree, false);
    if (rootObject != nullptr && rootObject != child)
        rootObject->SyncTreeState(tree, true);
    return 1;
}

int CioArray::IsInsertItem(TreeControl&) const {
    return 1;
}
int CioArray::IsDeleteItem(TreeControl&) const {
    return 0;
}
int CioArray::IsEditItem(TreeControl&) const {
    return 0;
}

void CioArray::ReadChildrenFromTree(TreeControl& tree) {
    if (treeItem == kNoItem)
        return;
    std::vector<std::unique_ptr<CioType>> reordered;
    for (TreeItem item = tree.GetFirstChild(treeItem); item != kNoItem;
         item = tree.GetNextSibling(item)) {
        CioType* shown = tree.GetItemData(item);
        const auto it = std::find_if(children.begin(), children.end(),
                                     [shown](const auto& c) { return c && c.get() == shown; });
        if (it != children.end())
            reordered.push_back(std::move(*it));
    }
    // Children the tree does not show stay, after the shown ones, rather than being lost.
    for (auto& child : children)
        if (child != nullptr)
            reordered.push_back(std::move(child));
    children = std::move(reordered);
}

void CioArray::CopyListFrom(const CioArray& other) {
    size_t i = 0;
    for (const auto& source : other.children) {
        if (source == nullptr)
            continue;
        if (i >= children.size() || children[i] == nullptr ||
            ClassKind(*children[i]) != ClassKind(*source)) {
            auto fresh = CreateObject(ClassKind(*source));
            if (i < children.size())
                children[i] = std::move(fresh);
            else
                children.push_back(std::move(fresh));
        }
        children[i]->CopyFrom(source.get());
        ++i;
    }
    while (children.size() > i)
        children.pop_back();
    contentKind = other.contentKind;
}

void CioArray::CopyFrom(const CioType* other) {
    if (other == nullptr)
        return;
    CopyRootFrom(*other);
    if (typeid(*other) == typeid(*this))
        CopyListFrom(static_cast<const CioArray&>(*other));
}

bool CioArray::ListEquals(const CioArray& other) const {
    if (other.kind != kind || other.children.size() != children.size() ||
        other.contentKind != contentKind)
        return false;
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i] == nullptr || !children[i]->IsEqual(other.children[i].get()))
            return false;
    return true;
}

int CioArray::IsEqual(const CioType* other) const {
    const auto* list = dynamic_cast<const CioArray*>(other);
    return list != nullptr && ListEquals(*list) ? 1 : 0;
}

void CioArray::CountPoints() {
    for (const auto& child : children)
        child->CountPoints();
}

void CioArray::ComputeTotals() {
    CioType::ComputeTotals();
    for (const auto& child : children) {
        child->ComputeTotals();
        price = std::max(price, child->price);
        ioCount = std::max(ioCount, child->ioCount);
    }
}

} // namespace pinsum
