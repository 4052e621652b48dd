#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "picture/image.h"

namespace pinsum {

// Decodes JPEG bytes. Nothing on a fatal libjpeg error, or when the header announces more than
// maxSide pixels either way or more than kMaxPicturePixels in all; grey-scale pictures come out
// grey. Truncated data decodes as far as it goes, as libjpeg does.
std::optional<PixelArray> DecodeJpeg(std::span<const uint8_t> jpeg, int maxSide);

// Compresses with the library's default parameters (no quality is set). Nothing on a fatal
// libjpeg error.
std::optional<std::vector<uint8_t>> EncodeJpeg(const Image& image);

} // namespace pinsum
