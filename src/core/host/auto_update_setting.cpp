#include "host/auto_update_setting.h"

#include <algorithm>

#include "host/settings.h"

namespace pinsum {

bool ReadAutoUpdate(Settings& settings) {
    const auto bytes = settings.ReadValue(kAutoUpdateKeyPath, kAutoUpdateValueName);
    if (!bytes || bytes->size() != 4)
        return false;
    return std::any_of(bytes->begin(), bytes->end(), [](uint8_t b) { return b != 0; });
}

long WriteAutoUpdate(Settings& settings, bool on) {
    return settings.WriteUInt32(kAutoUpdateKeyPath, kAutoUpdateValueName, on ? 1u : 0u);
}

} // namespace pinsum
