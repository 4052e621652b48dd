#pragma once

#include <cstdint>

#include "model/cio_map_array.h"
#include "model/ordered_map.h"

namespace pinsum {

// An IO variant of a module (entries are IO point kinds, one per point) or a position of a device
// (entries are the allowed modules).
class CioVariant : public CioMapArray {
public:
    CioVariant();

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void RenewIds() override;
    void ResolveRefs(const IdentityTable& table) override;
    void ForgetRef(const CioType* object) override;
    void OnItemExpanded(TreeControl&) override {}
    void SyncTreeState(TreeControl&, bool) override {}
    int GetImage() const override { return 3; }
    TreeItem InsertToTree(TreeItem parent, TreeControl& tree, TreeItem after) override;
    void CopyFrom(const CioType* other) override;
    int IsEqual(const CioType* other) const override;
    void CountPoints() override;
    void ComputeTotals() override;

    // Occurrences of each entry and of each rule, in order of first appearance.
    OrderedMap<CioType*, uint16_t> kindCounts;
    OrderedMap<CioType*, uint16_t> ruleCounts;
    CioMapArray rules;
};

} // namespace pinsum
