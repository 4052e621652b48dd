#pragma once

#include <memory>
#include <vector>

#include "model/cio_type.h"
#include "model/object_stream.h"
#include "model/ordered_map.h"

namespace pinsum {

class CioPlc;
class CioModuleSelector;
class DeviceConfigurations;

// A device placed in a solution with its configurations; the first configuration is the chosen
// one.
class CioEquip : public CioType {
public:
    CioEquip();
    ~CioEquip() override;

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void ResolveRefs(const IdentityTable& table) override;
    void ForgetRef(const CioType* object) override { device.Forget(object); }
    std::string GetText() const override;
    int GetImage() const override { return 6; }
    void CopyFrom(const CioType* other) override;
    int IsEqual(const CioType* other) const override;
    int HasHelp() const override;
    void GetHelpMarkup(std::string& out) const override;
    void Describe(std::string& text, const std::string& prefix) const override;

    // Chosen configuration's price plus the device's own price; 0 without configuration.
    // GetPrice also keeps it as the equipment's price.
    double ConfiguredPrice() const;
    double GetPrice() { return price = ConfiguredPrice(); }
    // Points placed (used), or the ordinary points offered but not used.
    int32_t GetIoCount(bool used) const;

    // Defined by the solver library (solver/cio_equip_search.cpp), which alone uses them: keeps
    // the best-scoring configurations of the device for the remaining request.
    int Configure(const DeviceConfigurations& configurations,
                  const OrderedMap<CioType*, uint16_t>& remaining, int32_t remainingTotal,
                  bool first);
    // Keeps only the configurations that place all remaining points, when there are any.
    int CompletesRequest();
    int RankAgainst(const CioEquip* other, int32_t largestUsed, int32_t requestedTotal,
                    double largestPrice);

    CioPlc* Device() const { return device.object; }
    CioModuleSelector* Chosen() const { return selectors.empty() ? nullptr : selectors[0].get(); }

    ObjectRef<CioPlc> device;
    int32_t spare = 0;
    std::vector<std::unique_ptr<CioModuleSelector>> selectors;
    double score = 0.0;
};

} // namespace pinsum
