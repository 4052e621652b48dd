#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pinsum {

// A mark-up picture: "<pict>", display width and height in twips, bitmap width and height in
// pixels (four hex digits each), the escaped data's length (eight hex digits), the JPEG file
// escaped so that it holds no zero byte, "</pict>".
struct PictureElement {
    uint32_t displayWidth = 0;
    uint32_t displayHeight = 0;
    uint32_t pixelWidth = 0;
    uint32_t pixelHeight = 0;
    std::vector<uint8_t> jpeg;
    // Where the mark-up goes on: after "</pict>" when it follows the data, else after the data.
    size_t end = 0;
};

void EncodePicture(std::string& out, std::span<const uint8_t> jpeg, uint16_t displayWidth,
                   uint16_t displayHeight, uint16_t pixelWidth, uint16_t pixelHeight);

// The element starting at pos, at its "<pict>". Nothing when the text is too short for the
// fields, the length is 0 or not eight hex digits, or the data runs past the text.
std::optional<PictureElement> DecodePicture(std::string_view markup, size_t pos);

} // namespace pinsum
