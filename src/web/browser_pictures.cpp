// The page's engine carries no JPEG codec: the browser decodes pictures itself, so help pictures
// stored as JPEG are left to it and none is encoded here.
#include "picture/jpeg_codec.h"

namespace pinsum {

std::optional<PixelArray> DecodeJpeg(std::span<const uint8_t>, int) {
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> EncodeJpeg(const Image&) {
    return std::nullopt;
}

} // namespace pinsum
