#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/settings.h"

namespace pinsum {

// Settings kept in memory for the life of the object; nothing persists.
class MemorySettings : public Settings {
public:
    std::optional<std::vector<uint8_t>> ReadValue(const std::string& keyPath,
                                                  const std::string& name) override;
    long WriteUInt32(const std::string& keyPath, const std::string& name, uint32_t value) override;

    // Stores raw bytes of any size, as another program writing the same store could.
    void WriteRaw(const std::string& keyPath, const std::string& name, std::vector<uint8_t> bytes);
    void Remove(const std::string& keyPath, const std::string& name);

private:
    std::map<std::pair<std::string, std::string>, std::vector<uint8_t>> m_values;
};

} // namespace pinsum
