#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/settings.h"

namespace pinsum {

// Settings kept in one text file, a line "keyPath|name = 01 00 00 00" per value. The file is read
// on every access and replaced whole on every write, so that a crash never leaves half a file. A
// missing file, or a line that cannot be read, holds no values.
class FileSettings : public Settings {
public:
    explicit FileSettings(std::filesystem::path file);

    std::optional<std::vector<uint8_t>> ReadValue(const std::string& keyPath,
                                                  const std::string& name) override;
    // Returns an errno-style code on failure; a key path with '|' or a line break in either text
    // cannot be stored and gives EINVAL.
    long WriteUInt32(const std::string& keyPath, const std::string& name, uint32_t value) override;

    const std::filesystem::path& Path() const { return m_file; }

private:
    using Values = std::map<std::pair<std::string, std::string>, std::vector<uint8_t>>;

    Values Load() const;
    long Save(const Values& values) const;

    std::filesystem::path m_file;
};

} // namespace pinsum
