#include "model/cio_variant.h"

#include <algorithm>
#include <typeinfo>

#include "model/cio_modul.h"

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

void CioVariant::ResolveRefs(const IdentityTable& table) {
    CioMapArray::ResolveRefs(table);
    rules.ResolveRefs(table);
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
    CioType::ComputeTotals();
    for (CioType* entry : entries) {
        // Only modules belong in a position; whatever else a damaged file names counts nothing,
        // which also keeps a device that allows itself from recursing without end.
        if (entry == nullptr || typeid(*entry) != typeid(CioModul))
            continue;
        entry->ComputeTotals();
        price = std::max(price, entry->price);
        ioCount = std::max(ioCount, entry->ioCount);
    }
}

} // namespace pinsum
