#pragma once

#include <memory>
#include <vector>

#include "model/cio_type.h"
#include "model/object_stream.h"

namespace pinsum {

class CioPlc;
class CioModuleSelector;

// A device placed in a solution with its configurations; the first configuration is the chosen
// one.
class CioEquip : public CioType {
public:
    CioEquip();
    ~CioEquip() override;

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void ResolveRefs() override;
    void ForgetRef(const CioType* object) override { device.Forget(object); }
    std::string GetText() const override;
    int GetImage() const override { return 6; }
    void CopyFrom(const CioType* other) override;
    int IsEqual(const CioType* other) const override;
    int HasHelp() const override;
    void GetHelpMarkup(std::string& out) const override;

    CioPlc* Device() const { return device.object; }
    CioModuleSelector* Chosen() const { return selectors.empty() ? nullptr : selectors[0].get(); }

    ObjectRef<CioPlc> device;
    int32_t spare = 0;
    std::vector<std::unique_ptr<CioModuleSelector>> selectors;
    double score = 0.0;
};

} // namespace pinsum
