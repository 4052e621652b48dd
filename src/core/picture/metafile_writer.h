#pragma once

#include <cstdint>
#include <vector>

#include "picture/image.h"

namespace pinsum {

// A metafile that draws the image, as the rich edit keeps a picture: mapping and window records,
// then one stretch-bitmap record holding the pixels as an uncompressed 24-bit bitmap.
std::vector<uint8_t> MetafileFromImage(const Image& image);

} // namespace pinsum
