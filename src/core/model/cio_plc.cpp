#include "model/cio_plc.h"

#include <algorithm>
#include <cstdint>

#include "model/archive.h"
#include "model/cio_line.h"
#include "model/cio_node.h"
#include "model/cio_variant.h"
#include "model/item_editors.h"

namespace pinsum {

CioPlc::CioPlc() {
    kind = C_PLC_IO;
    name = "PLC";
}

void CioPlc::RemoveAll() {
    CioArray::RemoveAll();
    lines.RemoveAll();
}

void CioPlc::Store(ArchiveWriter& ar) const {
    CioModul::Store(ar);
    series.Store(ar);
    lines.Store(ar);
    ar.WriteInt32(ioSpeed);
    ar.WriteInt32(deviceType);
    ar.WriteInt32(control);
    ar.WriteInt32(0);
}

void CioPlc::Load(ArchiveReader& ar) {
    CioModul::Load(ar);
    series.Load(ar);
    lines.Load(ar);
    ioSpeed = ar.ReadInt32();
    deviceType = ar.ReadInt32();
    control = ar.ReadInt32();
    ar.ReadInt32();
}

void CioPlc::RenewIds() {
    CioArray::RenewIds();
    lines.RenewIds();
}

void CioPlc::ResolveRefs(const IdentityTable& table) {
    CioArray::ResolveRefs(table);
    series.Resolve(table);
    lines.ResolveRefs(table);
}

void CioPlc::ForgetRef(const CioType* object) {
    CioArray::ForgetRef(object);
    series.Forget(object);
    lines.ForgetRef(object);
}

int CioPlc::EditItem(TreeControl& tree) {
    ItemEditors* editors = tree.Editors();
    if (editors == nullptr || !editors->EditDevice(*this, TreeDatabase(tree)))
        return 0;
    if (treeItem != kNoItem)
        tree.SetItemText(treeItem, name);
    return 1;
}

void CioPlc::CopyFrom(const CioType* other) {
    if (other == nullptr)
        return;
    CopyRootFrom(*other);
    const auto* device = dynamic_cast<const CioPlc*>(other);
    if (device == nullptr)
        return;
    CopyModulePart(*device);
    lines.CopyFrom(&device->lines);
    series = device->series;
    ioSpeed = device->ioSpeed;
    deviceType = device->deviceType;
    control = device->control;
}

int CioPlc::IsEqual(const CioType* other) const {
    const auto* device = dynamic_cast<const CioPlc*>(other);
    if (device == nullptr || !CioModul::IsEqual(other) || !lines.IsEqual(&device->lines))
        return 0;
    const CioLine* mine = series.object;
    const CioLine* theirs = device->series.object;
    if ((mine == nullptr) != (theirs == nullptr) || (mine != nullptr && !mine->IsEqual(theirs)))
        return 0;
    return device->ioSpeed == ioSpeed && device->deviceType == deviceType &&
                   device->control == control
               ? 1
               : 0;
}

void CioPlc::ComputeTotals() {
    CioType::ComputeTotals();
    price = listPrice.Numeric();
    for (const auto& child : children) {
        if (child->kind != C_VARIANT_IO)
            continue;
        child->ComputeTotals();
        price += child->price;
        ioCount =
            static_cast<int32_t>(std::min<int64_t>(INT32_MAX, int64_t{ioCount} + child->ioCount));
    }
}

int CioPlc::HasVornet() const {
    return lines.Contains(&Vornet()) ? 1 : 0;
}

int CioPlc::HasKalbus() const {
    return lines.Contains(&Kalbus()) ? 1 : 0;
}

int CioPlc::OffersAnyOf(const std::vector<CioNode*>& items) const {
    if (items.empty())
        return 1;
    for (size_t p = 0; p < Count(); ++p) {
        const CioVariant* position = Position(p);
        if (position == nullptr)
            continue;
        for (CioType* allowed : position->entries) {
            const auto* module = dynamic_cast<const CioModul*>(allowed);
            for (size_t v = 0; module != nullptr && v < module->Count(); ++v) {
                const CioVariant* variant = module->Variant(v);
                if (variant == nullptr)
                    continue;
                for (const CioNode* item : items)
                    if (item != nullptr && item->Kind() != nullptr &&
                        variant->kindCounts.Contains(item->Kind()))
                        return 1;
            }
        }
    }
    return 0;
}

} // namespace pinsum
