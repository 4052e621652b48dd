#include "model/cio_variant.h"

#include <algorithm>

#include "model/archive.h"

namespace pinsum {
namespace {

void CountOccurrences(const std::vector<CioType*>& entries,
                      OrderedMap<CioType*, uint16_t>& counts) {
    counts.Clear();
    for (CioType* entry : entries)
        if (entry != nullptr)
            ++counts[entry];
}

} // namespace

CioVariant::CioVariant() {
    kind = C_VARIANT_IO;
}

void CioVariant::RemoveAll() {
    CioMapArray::RemoveAll();
    rules.RemoveAll();
}

void CioVariant::Store(ArchiveWriter& ar) const {
    CioMapArray::Store(ar);
    rules.Store(ar);
    ar.WriteInt32(0);
}

void CioVariant::Load(ArchiveReader& ar) {
    CioMapArray::Load(ar);
    rules.Load(ar);
    ar.ReadInt32();
}

void CioVariant::RenewIds() {
    CioMapArray::RenewIds();
    rules.RenewIds();
}

void CioVariant::ResolveRefs() {
    CioMapArray::ResolveRefs();
    rules.ResolveRefs();
}

void CioVariant::ForgetRef(const CioType* object) {
    CioMapArray::ForgetRef(object);
    rules.ForgetRef(object);
}

TreeItem CioVariant::InsertToTree(TreeItem parent, TreeControl&, TreeItem) {
    return parent;
}

void CioVariant::CopyFrom(const CioType* other) {
    if (other == nullptr)
        return;
    CopyRootFrom(*other);
    if (const auto* variant = dynamic_cast<const CioVariant*>(other)) {
        CopyRefsFrom(*variant);
        rules.CopyFrom(&variant->rules);
    }
}

int CioVariant::IsEqual(const CioType* other) const {
    const auto* variant = dynamic_cast<const CioVariant*>(other);
    return variant != nullptr && RefsEqual(*variant) && rules.RefsEqual(variant->rules) ? 1 : 0;
}

void CioVariant::CountPoints() {
    price = 0.0;
    CountOccurrences(entries, kindCounts);
    CountOccurrences(rules.entries, ruleCounts);
}

void CioVariant::ComputeTotals() {
    // A damaged file can make a position allow a device that contains it; the guard cuts the
    // cycle instead of recursing without end.
    if (m_computing)
        return;
    m_computing = true;
    CioType::ComputeTotals();
    for (CioType* entry : entries) {
        if (entry == nullptr)
            continue;
        entry->ComputeTotals();
        price = std::max(price, entry->price);
        ioCount = std::max(ioCount, entry->ioCount);
    }
    m_computing = false;
}

} // namespace pinsum
