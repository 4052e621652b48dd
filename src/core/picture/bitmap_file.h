#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "picture/image.h"

namespace pinsum {

// A Windows bitmap file: uncompressed, 1, 4 or 8 bits per pixel with a palette or 24 or 32 bits,
// bottom-up or top-down. Nothing for another kind, a header that does not fit the file, or
// pixels beyond its end.
std::optional<Image> DecodeBitmapFile(std::span<const uint8_t> file);

// Nothing, without a message, when the file cannot be read.
std::optional<Image> LoadBitmapFile(const std::string& path);

} // namespace pinsum
