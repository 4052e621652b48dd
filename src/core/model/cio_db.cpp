#include "model/cio_db.h"

#include "model/archive.h"
#include "model/cio_line.h"
#include "model/cio_modul.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"

namespace pinsum {
namespace {

void MapChildren(const CioArray& source, const CioArray& copy, CioDb::ObjectMap& map) {
    for (size_t i = 0; i < source.Count() && i < copy.Count(); ++i) {
        map[source.At(i)] = copy.At(i);
        const auto* sourceList = dynamic_cast<const CioArray*>(source.At(i));
        const auto* copyList = dynamic_cast<const CioArray*>(copy.At(i));
        if (sourceList != nullptr && copyList != nullptr)
            MapChildren(*sourceList, *copyList, map);
    }
}

// References into the source become its copies, built-in objects stay; anything else would
// point into the source after it is gone, so it is dropped.
void Rebind(std::vector<CioType*>& entries, const CioDb::ObjectMap& map) {
    std::erase_if(entries, [&map](CioType*& entry) {
        if (const auto it = map.find(entry); it != map.end())
            entry = it->second;
        else if (!IsBuiltIn(entry))
            return true;
        return false;
    });
}

void RebindVariants(const CioArray& owners, const CioDb::ObjectMap& map) {
    for (const auto& owner : owners.children) {
        const auto* list = dynamic_cast<const CioArray*>(owner.get());
        if (list == nullptr)
            continue;
        for (const auto& child : list->children)
            if (auto* variant = dynamic_cast<CioVariant*>(child.get())) {
                Rebind(variant->entries, map);
                Rebind(variant->rules.entries, map);
            }
    }
}

void UncheckWithChildren(TreeControl& tree, TreeItem item) {
    tree.SetChecked(item, false);
    for (TreeItem child = tree.GetFirstChild(item); child != kNoItem;
         child = tree.GetNextSibling(child))
        tree.SetChecked(child, false);
}

bool IsExclusiveSeries(const CioType* object) {
    return object != nullptr && object->kind == C_LINE_TYPE_IO && (object->flags & FLAG_EXCLUSIVE);
}

} // namespace

CioDb::CioDb() {
    kind = C_DB_IO;
    name = "<>";
}

void CioDb::RemoveAll() {
    for (CioArray* list : Lists())
        list->RemoveAll();
}

void CioDb::Store(ArchiveWriter& ar) const {
    CioType::Store(ar);
    ioKinds.Store(ar);
    modules.Store(ar);
    devices.Store(ar);
    seriesList.Store(ar);
    ar.WriteInt32(0);
}

void CioDb::Load(ArchiveReader& ar) {
    CioType::Load(ar);
    ioKinds.Load(ar);
    modules.Load(ar);
    devices.Load(ar);
    seriesList.Load(ar);
    ar.ReadInt32();
}

void CioDb::RenewIds() {
    CioType::RenewIds();
    for (CioArray* list : Lists())
        list->RenewIds();
}

void CioDb::ResolveRefs(const IdentityTable& table) {
    for (CioArray* list : Lists())
        list->ResolveRefs(table);
}

void CioDb::ForgetRef(const CioType* object) {
    for (CioArray* list : Lists())
        list->ForgetRef(object);
}

void CioDb::OnItemExpanded(TreeControl& tree) {
    CioType::OnItemExpanded(tree);
    for (CioArray* list : Lists())
        list->OnItemExpanded(tree);
}

void CioDb::SyncTreeState(TreeControl& tree, bool read) {
    CioType::SyncTreeState(tree, read);
    for (CioArray* list : Lists())
        list->SyncTreeState(tree, read);
}

TreeItem CioDb::InsertToTree(TreeItem, TreeControl& tree, TreeItem after) {
    const TreeItem own = CioType::InsertToTree(treeItem, tree, after);
    for (CioArray* list : Lists())
        list->InsertToTree(own, tree, after);
    return own;
}

void CioDb::ReadChildrenFromTree(TreeControl& tree) {
    for (CioArray* list : Lists())
        list->ReadChildrenFromTree(tree);
}

CioDb::ObjectMap CioDb::CopyWithMap(const CioDb& source) {
    ioKinds.CopyFrom(&source.ioKinds);
    modules.CopyFrom(&source.modules);
    seriesList.CopyFrom(&source.seriesList);
    devices.CopyFrom(&source.devices);
    ObjectMap map;
    MapChildren(source.ioKinds, ioKinds, map);
    MapChildren(source.modules, modules, map);
    MapChildren(source.seriesList, seriesList, map);
    MapChildren(source.devices, devices, map);
    RebindVariants(modules, map);
    RebindVariants(devices, map);
    for (const auto& child : devices.children)
        if (auto* device = dynamic_cast<CioPlc*>(child.get())) {
            const auto it = map.find(device->series.object);
            device->series.object = it != map.end() ? dynamic_cast<CioLine*>(it->second) : nullptr;
            Rebind(device->lines.entries, map);
        }
    return map;
}

void CioDb::CopyFrom(const CioType* other) {
    if (const auto* source = dynamic_cast<const CioDb*>(other))
        CopyWithMap(*source);
    else
        CioType::CopyFrom(other);
}

void CioDb::CountPoints() {
    for (CioArray* list : Lists())
        list->CountPoints();
}

void CioDb::ComputeTotals() {
    devices.ComputeTotals();
}

void CioDb::FillSelectionTree(TreeItem parent, TreeControl& tree) {
    for (const auto& series : seriesList.children) {
        const TreeItem seriesItem = series->InsertToTree(parent, tree, kInsertLast);
        if (seriesItem == kNoItem)
            continue;
        const bool offered = (series->flags & FLAG_DEFAULT) != 0;
        tree.SetChecked(seriesItem, offered);
        for (const auto& child : devices.children) {
            auto* device = dynamic_cast<CioPlc*>(child.get());
            if (device == nullptr || device->series.object != series.get())
                continue;
            const TreeItem deviceItem = device->InsertToTree(seriesItem, tree, kInsertLast);
            if (deviceItem != kNoItem)
                tree.SetChecked(deviceItem, offered);
        }
    }
}

CioType* CioDb::ApplySelectionCheck(TreeControl& tree, TreeItem item) {
    CioType* object = tree.GetItemData(item);
    if (object == nullptr)
        return nullptr;
    const bool checked = tree.IsChecked(item);
    TreeItem seriesItem = item;
    if (object->kind == C_LINE_TYPE_IO) {
        tree.Select(item);
        for (TreeItem child = tree.GetFirstChild(item); child != kNoItem;
             child = tree.GetNextSibling(child))
            tree.SetChecked(child, checked);
    } else if (object->kind == C_PLC_IO && checked) {
        tree.Select(item);
        seriesItem = tree.GetParent(item);
        if (seriesItem == kNoItem)
            return object;
        tree.SetChecked(seriesItem, true);
        object = tree.GetItemData(seriesItem);
    } else {
        return object;
    }
    if (!IsExclusiveSeries(object) || !checked)
        return object;
    for (TreeItem other = tree.GetPrevSibling(seriesItem); other != kNoItem;
         other = tree.GetPrevSibling(other))
        if (IsExclusiveSeries(tree.GetItemData(other)))
            UncheckWithChildren(tree, other);
    for (TreeItem other = tree.GetNextSibling(seriesItem); other != kNoItem;
         other = tree.GetNextSibling(other))
        if (IsExclusiveSeries(tree.GetItemData(other)))
            UncheckWithChildren(tree, other);
    return object;
}

} // namespace pinsum
