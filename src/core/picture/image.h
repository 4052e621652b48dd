#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pinsum {

// Colours are colour references: 0x00BBGGRR.
constexpr uint32_t ColourRef(uint32_t red, uint32_t green, uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

// The largest picture any reader builds; a header announcing more is rejected before anything is
// allocated or decoded.
constexpr size_t kMaxPicturePixels = size_t{1} << 26;

// What JPEG decoding yields: rows from the bottom row of the picture to the top row.
struct PixelArray {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> colours;
};

// The stand-in for a device bitmap: rows from the top row to the bottom row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Red, green and blue weighted 30, 59 and 11 per cent, each product divided by 100 on its own.
uint32_t GreyColour(uint32_t colour);

// Sets the image's pixels from the bottom row up, as the pixel array lists them.
Image ImageFromPixelArray(const PixelArray& array, bool grey);

} // namespace pinsum
