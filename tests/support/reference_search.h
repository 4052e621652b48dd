#pragma once

#include <cstdint>

#include "model/cio_module_selector.h"
#include "solver/configuration_source.h"

namespace pinsum {
class CioEquip;
class CioPlc;
} // namespace pinsum

namespace pinsum::test {

// The selector's odometer as the search first enumerated configurations: for every request the
// device is stepped through again. Kept as the reference for the search's configuration walk.
int ReferenceAttach(CioModuleSelector& s, CioPlc* device);
int ReferenceFirst(CioModuleSelector& s, int start);
int ReferenceNext(CioModuleSelector& s, int p);
int ReferenceIsValid(const CioModuleSelector& s);

// CioEquip::Configure over the reference enumeration.
int ReferenceConfigure(CioEquip& equip, CioPlc* target, const KindCountMap& remaining,
                       int32_t remainingTotal, bool first);

class ReferenceConfigurations : public ConfigurationSource {
public:
    int Configure(CioEquip& equipment, CioPlc* device, const KindCountMap& remaining,
                  int32_t remainingTotal, bool first) override {
        return ReferenceConfigure(equipment, device, remaining, remainingTotal, first);
    }
};

// The selector standing on the device's first valid configuration, unmatched.
void AttachFirstValid(CioModuleSelector& s, CioPlc* device);

} // namespace pinsum::test
