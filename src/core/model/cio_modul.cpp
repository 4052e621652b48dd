#include "model/cio_modul.h"

#include <algorithm>
#include <typeinfo>

#include "model/archive.h"
#include "model/cio_db.h"
#include "model/cio_variant.h"
#include "model/item_editors.h"

namespace pinsum {

CioDb* TreeDatabase(TreeControl& tree) {
    const TreeItem root = tree.GetRootItem();
    return root != kNoItem ? dynamic_cast<CioDb*>(tree.GetItemData(root)) : nullptr;
}

CioModul::CioModul() {
    kind = C_MODUL_IO;
    name = "Modul IO";
}

CioModul::CioModul(uint32_t identity, const char* name_, const char* marking_) : CioModul() {
    id = identity;
    name = name_;
    marking = marking_;
    auto variant = std::make_unique<CioVariant>();
    variant->id = kEmptyVariantId;
    children.push_back(std::move(variant));
}

void CioModul::Store(ArchiveWriter& ar) const {
    CioArray::Store(ar);
    ar.WriteInt32(listPrice.status);
    ar.WriteInt32(static_cast<int32_t>(listPrice.scaled >> 32));
    ar.WriteUInt32(static_cast<uint32_t>(listPrice.scaled));
    ar.WriteText(marking);
    ar.WriteInt32(0);
}

void CioModul::Load(ArchiveReader& ar) {
    CioArray::Load(ar);
    listPrice.status = ar.ReadInt32();
    const int64_t high = ar.ReadInt32();
    const uint32_t low = ar.ReadUInt32();
    listPrice.scaled = static_cast<int64_t>(static_cast<uint64_t>(high) << 32 | low);
    marking = ar.ReadText();
    ar.ReadInt32();
}

int CioModul::EditItem(TreeControl& tree) {
    ItemEditors* editors = tree.Editors();
    if (editors == nullptr || !editors->EditModule(*this, TreeDatabase(tree)))
        return 0;
    if (treeItem != kNoItem)
        tree.SetItemText(treeItem, name);
    return 1;
}

void CioModul::CopyModulePart(const CioModul& other) {
    CopyListFrom(other);
    listPrice = other.listPrice;
    marking = other.marking;
}

void CioModul::CopyFrom(const CioType* other) {
    if (other == nullptr)
        return;
    CopyRootFrom(*other);
    if (const auto* module = dynamic_cast<const CioModul*>(other))
        CopyModulePart(*module);
}

int CioModul::IsEqual(const CioType* other) const {
    const auto* module = dynamic_cast<const CioModul*>(other);
    return module != nullptr && ListEquals(*module) && module->listPrice == listPrice ? 1 : 0;
}

void CioModul::ComputeTotals() {
    price = listPrice.Numeric();
    ioCount = 0;
    for (const auto& child : children) {
        const CioType& object = *child;
        if (object.kind == C_VARIANT_IO && typeid(object) == typeid(CioVariant))
            ioCount = std::max(
                ioCount, static_cast<int32_t>(static_cast<const CioVariant&>(object).Count()));
    }
}

CioVariant* CioModul::Variant(size_t index) const {
    return index < children.size() ? dynamic_cast<CioVariant*>(children[index].get()) : nullptr;
}

} // namespace pinsum
