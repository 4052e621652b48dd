#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/messenger.h"
#include "picture/image.h"

namespace pinsum {

// Shown when libjpeg fails or a rich-text picture breaks a rule of the metafile.
inline constexpr std::string_view kPictureFailureMessage = "Some operation failed";

// A JPEG file as an image. Nothing, silently, when the file cannot be read or is empty; nothing,
// with the failure message when a messenger is given, when it does not decode.
std::optional<Image> LoadJpegFile(const std::string& path, Messenger* messenger = nullptr);

// Appends the mark-up picture element made from a rich-text picture: hex is the metafile's text
// from its first digit on, the display size is in twips. False, with nothing appended and the
// failure message when a messenger is given, when the metafile or the compression fails.
bool CompressPicture(std::string& out, std::string_view hex, uint16_t displayWidth,
                     uint16_t displayHeight, Messenger* messenger = nullptr);

// The pixels of the mark-up picture element at pos (its "<pict>"), turned grey when asked.
// Nothing, without a message, for bad data or a picture over 1,600 pixels either way.
std::optional<Image> DecodePictureElement(std::string_view markup, size_t pos, bool grey);

} // namespace pinsum
