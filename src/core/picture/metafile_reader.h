#pragma once

#include <optional>
#include <string_view>

#include "picture/image.h"

namespace pinsum {

// Pictures enter the mark-up at most this many pixels either way.
constexpr int kMaxMarkupPictureSide = 1600;

// The bitmap of a rich-text picture: a metafile written as hex digits (either case, carriage
// returns and line feeds allowed between digits) whose first stretch-bitmap record holds an
// uncompressed 24-bit bitmap. Reading stops at the last pixel byte; "}", any other character or
// the end of the text before it, or any broken rule of the header and the record, give nothing.
std::optional<Image> ReadMetafileBitmap(std::string_view hex);

} // namespace pinsum
