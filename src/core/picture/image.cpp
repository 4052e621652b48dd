#include "picture/image.h"

namespace pinsum {

uint32_t GreyColour(uint32_t colour) {
    const uint32_t red = colour & 0xFF;
    const uint32_t green = (colour >> 8) & 0xFF;
    const uint32_t blue = (colour >> 16) & 0xFF;
    const uint32_t grey = red * 30 / 100 + green * 59 / 100 + blue * 11 / 100;
    return ColourRef(grey, grey, grey);
}

Image ImageFromPixelArray(const PixelArray& array, bool grey) {
    Image image{array.width, array.height, std::vector<uint32_t>(array.colours.size(), 0xFFFFFF)};
    const size_t width = static_cast<size_t>(array.width);
    auto source = array.colours.begin();
    for (int y = array.height - 1; y >= 0; --y) {
        uint32_t* row = image.pixels.data() + static_cast<size_t>(y) * width;
        for (size_t x = 0; x < width; ++x, ++source)
            row[x] = grey ? GreyColour(*source) : *source;
    }
    return image;
}

} // namespace pinsum
