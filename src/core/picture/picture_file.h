#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pinsum {

// The whole file, or nothing when it cannot be read, is empty, or is larger than any picture
// the readers accept could be.
std::optional<std::vector<uint8_t>> ReadPictureFile(const std::string& path);

} // namespace pinsum
