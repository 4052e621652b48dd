#include "host/memory_settings.h"

namespace pinsum {

std::optional<std::vector<uint8_t>> MemorySettings::ReadValue(const std::string& keyPath,
                                                              const std::string& name) {
    const auto it = m_values.find({keyPath, name});
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

long MemorySettings::WriteUInt32(const std::string& keyPath, const std::string& name,
                                 uint32_t value) {
    WriteRaw(keyPath, name,
             {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)});
    return 0;
}

void MemorySettings::WriteRaw(const std::string& keyPath, const std::string& name,
                              std::vector<uint8_t> bytes) {
    m_values[{keyPath, name}] = std::move(bytes);
}

void MemorySettings::Remove(const std::string& keyPath, const std::string& name) {
    m_values.erase({keyPath, name});
}

} // namespace pinsum
