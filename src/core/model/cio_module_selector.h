#pragma once

#include <cstdint>
#include <memory>
#include <string>
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
class IdentityTable;

using KindCountMap = OrderedMap<CioType*, uint16_t>;
// Point totals that may exceed 16 bits (free capacity and load summed over equipment).
using PointMap = OrderedMap<CioType*, int32_t>;

// One configuration of a device: the module and variant chosen for every position and the
// request points placed on each position. Planner files store it, so its stored form lives with
// the model; the placement from Match to MarkIdlePositions belongs to the search and is defined
// by the solver library (solver/cio_module_selector_search.cpp), which also enumerates the
// configurations (solver/configuration_walk.h).
class CioModuleSelector {
public:
    CioModuleSelector();
    ~CioModuleSelector();

    // Places the requested points; the covered total, or -1 when a required kind is offered
    // without being requested.
    int Match(const KindCountMap& request);
    // As Match, but a required kind is refused only when asked does not want it: a device placed
    // after others covered that kind still offers it for the whole request.
    int Match(const KindCountMap& request, const KindCountMap& asked);
    int CoversAll() const;
    // Adds free capacity (free) or the assigned points (!free) per kind to map.
    void AddCapacity(PointMap& map, bool free) const;
    // Moves as many points of map as fit into free capacity; emptied entries are removed.
    void Absorb(PointMap& map);
    // Marks positions that received no points as idle when they may stay empty.
    int MarkIdlePositions(double& price);
    void CountModules(OrderedMap<CioModul*, uint16_t>& counts) const;
    // Report lines: "Modul ..." and the assigned points of each used position.
    void Describe(std::string& text, const std::string& prefix) const;

    void Store(ArchiveWriter& ar) const;
    void Load(ArchiveReader& ar);
    // Turns the identities read by Load into objects; unresolvable map keys are dropped, while an
    // unresolvable variant or module stays a null in its place so that positions do not shift.
    void Relink(const IdentityTable& table);
    std::unique_ptr<CioModuleSelector> Clone() const;
    // The same modules as a multiset, in any positions.
    int IsSameAs(const CioModuleSelector* other) const;
    int IsSameAsAny(const std::vector<std::unique_ptr<CioModuleSelector>>& list) const;

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
    // The allowed modules of position p of the device.
    const std::vector<CioType*>* Allowed(int p) const;
    // The variant of position p, or none for an empty slot or the idle marker.
    const CioVariant* VariantAt(size_t p) const;

    // Identities read by Load, kept until Relink.
    struct Stored;
    std::unique_ptr<Stored> m_stored;
};

} // namespace pinsum
