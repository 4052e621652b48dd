#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/currency.h"
#include "model/ordered_map.h"

namespace pinsum {

class ArchiveReader;
class ArchiveWriter;
class CioType;
class CioVariant;
class CioModul;
class CioPlc;

using KindCountMap = OrderedMap<CioType*, uint16_t>;

// One configuration of a device: the module and variant chosen for every position and the
// request points placed on each position.
class CioModuleSelector {
public:
    CioModuleSelector();
    ~CioModuleSelector();

    void Store(ArchiveWriter& ar) const;
    void Load(ArchiveReader& ar);
    // Turns the identities read by Load into objects; unresolvable map keys are dropped, while an
    // unresolvable variant or module stays a null in its place so that positions do not shift.
    void Relink();
    std::unique_ptr<CioModuleSelector> Clone() const;
    // The same modules as a multiset, in any positions.
    int IsSameAs(const CioModuleSelector* other) const;

    // Per position; a missing map is a null pointer.
    std::vector<std::unique_ptr<KindCountMap>> positionMaps;
    KindCountMap remaining;
    std::vector<CioType*> variants;
    std::vector<CioModul*> modules;
    std::vector<uint16_t> moduleIndexes;
    std::vector<uint16_t> variantIndexes;
    int32_t startPosition = 0;
    CioPlc* device = nullptr;
    int32_t validStructure = 0;
    int32_t usedPositions = 0;
    int32_t coveredTotal = 0;
    Currency price;

private:
    // Identities read by Load, kept until Relink.
    struct Stored;
    std::unique_ptr<Stored> m_stored;
};

} // namespace pinsum
