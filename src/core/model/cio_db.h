#pragma once

#include <array>
#include <unordered_map>

#include "model/cio_array.h"

namespace pinsum {

class CioPlc;
class CioLine;
class CioModul;

// The catalogue: IO point kinds, modules, series and devices.
class CioDb : public CioType {
public:
    CioDb();

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void RenewIds() override;
    void ResolveRefs(const IdentityTable& table) override;
    void ForgetRef(const CioType* object) override;
    void OnItemExpanded(TreeControl& tree) override;
    void SyncTreeState(TreeControl& tree, bool read) override;
    int GetImage() const override { return 0; }
    TreeItem InsertToTree(TreeItem parent, TreeControl& tree, TreeItem after) override;
    int InsertItem(TreeControl&) override { return 0; }
    int DeleteItem(TreeControl&, CioType*) override { return 0; }
    int IsInsertItem(TreeControl&) const override { return 0; }
    int IsDeleteItem(TreeControl&) const override { return 0; }
    void ReadChildrenFromTree(TreeControl& tree) override;
    // A deep copy whose references point into the copy (built-in objects stay shared).
    void CopyFrom(const CioType* other) override;
    void CountPoints() override;
    void ComputeTotals() override;

    using ObjectMap = std::unordered_map<const CioType*, CioType*>;
    // CopyFrom that also returns which copy stands for which source object.
    ObjectMap CopyWithMap(const CioDb& source);

    // Fills the "use for the design" tree: series with their devices, checked by default.
    void FillSelectionTree(TreeItem parent, TreeControl& tree);
    // Applies the check rules after the user toggled item; returns the object the caller
    // continues with.
    CioType* ApplySelectionCheck(TreeControl& tree, TreeItem item);

    // The four lists in the order every operation but storage visits them.
    std::array<CioArray*, 4> Lists() { return {&ioKinds, &modules, &seriesList, &devices}; }

    CioArray ioKinds{C_IO};
    CioArray modules{C_MODUL_IO};
    CioArray seriesList{C_LINE_TYPE_IO};
    CioArray devices{C_PLC_IO};
};

} // namespace pinsum
