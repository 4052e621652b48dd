#pragma once

#include <memory>
#include <vector>

#include "model/cio_array.h"
#include "model/object_stream.h"
#include "model/ordered_map.h"

namespace pinsum {

class CioEquip;
class CioModuleSelector;
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
    void ResolveRefs(const IdentityTable& table) override;
    void CopyFrom(const CioType* other) override;
    // The duplicate test against an earlier solution.
    int IsEqual(const CioType* other) const override { return IsSameAs(other); }
    void Describe(std::string& text, const std::string& prefix) const override;

    // Sum of the equipment prices; GetPrice also stores it and the equipment prices.
    double TotalPrice() const;
    double GetPrice();
    int32_t GetIoCount(bool used) const;
    int IsSameAs(const CioType* earlier) const;
    CioPlc* Controller() const { return controller.object; }
    CioEquip* Equipment(size_t index) const;

    // Defined by the solver library (solver/cio_solution_search.cpp), which alone uses them: a
    // solution for a controller, with copies of the request items and the controller's lines.
    static std::unique_ptr<CioSolution> ForController(CioPlc* controller,
                                                      const std::vector<CioNode*>& request);
    void AddLines(const CioPlc* device);
    // A copy of this solution extended by a copy of the equipment with the configuration.
    std::unique_ptr<CioSolution> ForkWith(const CioEquip* equipment,
                                          std::unique_ptr<CioModuleSelector> configuration);
    void ApplySelector(const CioModuleSelector& configuration);
    int IsComplete() const;
    int IsFinished() const;
    int CanAccept(const CioPlc* device) const;
    // Removes equipment whose points fit into the others and marks idle positions.
    void Compact();

    double rankScore = 0.0;
    std::vector<std::unique_ptr<CioNode>> remaining;
    int32_t canExtend = 1;
    ObjectRef<CioPlc> controller;
    int32_t number = 0;
    OrderedMap<CioModul*, uint16_t> moduleCounts;
    OrderedMap<CioType*, uint16_t> lineSet;
    // The exact mode proved no complete configuration cheaper; the report line says so. Not
    // stored: a planner file keeps the solutions, not how they were found.
    bool provenCheapest = false;
};

} // namespace pinsum
