#pragma once

namespace pinsum {

class Settings;

constexpr const char* kAutoUpdateKeyPath = "Software\\Tarvesko\\Planner";
constexpr const char* kAutoUpdateValueName = "Autoupdate";

// True only when the value exists, has exactly 4 bytes and is not 0.
bool ReadAutoUpdate(Settings& settings);

// Stores 1 or 0 as a 4-byte value and returns the store's result code (0 on success).
long WriteAutoUpdate(Settings& settings, bool on);

} // namespace pinsum
