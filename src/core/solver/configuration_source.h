#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "model/cio_module_selector.h"
#include "solver/device_configurations.h"

namespace pinsum {

class CioEquip;
class CioPlc;
class ManualResetEvent;

// Configures equipment for a device against a solution's remaining request: the inner step of
// every extension of the search.
class ConfigurationSource {
public:
    virtual ~ConfigurationSource() = default;
    // As CioEquip::Configure.
    virtual int Configure(CioEquip& equipment, CioPlc* device, const KindCountMap& remaining,
                          int32_t remainingTotal, bool first) = 0;
};

// The search's own source: walks each device's configurations the first time the device is
// configured and keeps them for the rest of the search.
class ConfigurationCache : public ConfigurationSource {
public:
    // Devices beyond maxBytes of kept configurations are walked for every request instead.
    explicit ConfigurationCache(const ManualResetEvent* stop = nullptr,
                                size_t maxBytes = DeviceConfigurations::kDefaultMaxBytes);
    ~ConfigurationCache() override;

    int Configure(CioEquip& equipment, CioPlc* device, const KindCountMap& remaining,
                  int32_t remainingTotal, bool first) override;

private:
    const DeviceConfigurations& For(CioPlc* device);

    const ManualResetEvent* m_stop;
    size_t m_bytesLeft;
    std::unordered_map<const CioPlc*, std::unique_ptr<DeviceConfigurations>> m_devices;
};

} // namespace pinsum
