#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pinsum {

// The persistent per-user settings store (the registry on Windows, wxConfig elsewhere). Values
// live under a key path such as "Software\\Tarvesko\\Planner".
// Called on the user-interface thread.
class Settings {
public:
    virtual ~Settings() = default;
    // The raw bytes of a value, or nothing when the key or the value is missing.
    virtual std::optional<std::vector<uint8_t>> ReadValue(const std::string& keyPath,
                                                          const std::string& name) = 0;
    // Creates the key path as needed and stores a 4-byte value; returns 0 on success, else the
    // store's error code.
    virtual long WriteUInt32(const std::string& keyPath, const std::string& name,
                             uint32_t value) = 0;
};

} // namespace pinsum
