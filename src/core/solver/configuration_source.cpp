#include "solver/configuration_source.h"

#include <algorithm>

#include "model/cio_equip.h"
#include "solver/device_configurations.h"

namespace pinsum {

ConfigurationCache::ConfigurationCache(const ManualResetEvent* stop, size_t maxBytes)
    : m_stop(stop), m_bytesLeft(maxBytes) {}

ConfigurationCache::~ConfigurationCache() = default;

int ConfigurationCache::Configure(CioEquip& equipment, CioPlc* device,
                                  const KindCountMap& remaining, int32_t remainingTotal,
                                  bool first) {
    return equipment.Configure(For(device), remaining, remainingTotal, first);
}

const DeviceConfigurations& ConfigurationCache::For(CioPlc* device) {
    auto& entry = m_devices[device];
    if (entry == nullptr) {
        entry = std::make_unique<DeviceConfigurations>(device, m_bytesLeft, m_stop);
        m_bytesLeft -= std::min(m_bytesLeft, entry->Bytes());
    }
    return *entry;
}

} // namespace pinsum
