#pragma once

#include <vector>

#include "model/cio_map_array.h"
#include "model/cio_modul.h"
#include "model/object_stream.h"

namespace pinsum {

class CioLine;
class CioNode;

// A device: a controller or a peripheral. Its children are its positions.
class CioPlc : public CioModul {
public:
    CioPlc();

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void RenewIds() override;
    void ResolveRefs(const IdentityTable& table) override;
    void ForgetRef(const CioType* object) override;
    int GetImage() const override { return 6; }
    int EditItem(TreeControl& tree) override;
    void CopyFrom(const CioType* other) override;
    int IsEqual(const CioType* other) const override;
    void ComputeTotals() override;

    int HasVornet() const;
    int HasKalbus() const;
    // True for an empty list, or when some position can take a module with a variant that
    // provides the kind of one of the items.
    int OffersAnyOf(const std::vector<CioNode*>& items) const;
    CioVariant* Position(size_t index) const { return Variant(index); }

    ObjectRef<CioLine> series;
    int32_t ioSpeed = 0;
    int32_t deviceType = 0;
    int32_t control = 0;
    CioMapArray lines;
};

} // namespace pinsum
