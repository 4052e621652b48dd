#pragma once

#include <memory>
#include <vector>

#include "model/cio_array.h"
#include "model/object_stream.h"
#include "model/ordered_map.h"

namespace pinsum {

class CioNode;
class CioPlc;
class CioModul;

// One answer of the search: the equipment (children) placed for a controller and the part of the
// request still unplaced.
class CioSolution : public CioArray {
public:
    CioSolution();
    ~CioSolution() override;

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    // Renews everything the solution owns, its remaining-request copies included, so that no two
    // objects of a stored project share an identity.
    void RenewIds() override;
    void ResolveRefs() override;
    void CopyFrom(const CioType* other) override;

    CioPlc* Controller() const { return controller.object; }

    double rankScore = 0.0;
    std::vector<std::unique_ptr<CioNode>> remaining;
    int32_t canExtend = 1;
    ObjectRef<CioPlc> controller;
    int32_t number = 0;
    OrderedMap<CioModul*, uint16_t> moduleCounts;
    OrderedMap<CioType*, uint16_t> lineSet;
};

} // namespace pinsum
