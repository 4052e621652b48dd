#include "support/picture_samples.h"

#include <cstdlib>

namespace pinsum::test {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

Image BlockPicture(int width, int height) {
    static const uint32_t kColours[] = {ColourRef(255, 0, 0), ColourRef(0, 160, 0),
                                        ColourRef(0, 0, 255), ColourRef(255, 255, 255),
                                        ColourRef(40, 40, 40)};
    Image image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels.push_back(kColours[(x / 16 + y / 16 * 3) % 5]);
    return image;
}

double MeanDifference(const Image& a, const Image& b) {
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) -
                            static_cast<int>((b.pixels[i] >> shift) & 0xFF));
    return sum / static_cast<double>(a.pixels.size() * 3);
}

std::vector<uint8_t> MetafileBytes(const Image& image, const MetafileFields& f) {
    const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) / 4 * 4;
    const size_t recordBytes = 6 + 4 + 2 + 16 + 40 + stride * static_cast<size_t>(image.height);
    std::vector<uint8_t> out;
    for (const uint16_t word : {f.type, f.headerWords, f.version})
        Put16(out, word);
    out.insert(out.end(), 10, 0);
    Put16(out, f.parameters);
    // A record before the bitmap, which the reader skips by its size.
    Put32(out, 4);
    Put16(out, 0x0103);
    Put16(out, 8);
    Put32(out, f.recordWords != 0 ? f.recordWords : static_cast<uint32_t>(recordBytes / 2));
    Put16(out, 0x0F43);
    Put32(out, f.rasterOperation);
    Put16(out, f.colourUsage);
    out.insert(out.end(), 16, 0);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(f.width.value_or(image.width)));
    Put32(out, static_cast<uint32_t>(f.height.value_or(image.height)));
    Put16(out, f.planes);
    Put16(out, f.bits);
    Put32(out, f.compression);
    out.insert(out.end(), 12, 0);
    Put32(out, f.coloursUsed);
    Put32(out, f.coloursImportant);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t colour = image.At(x, y);
            out.insert(out.end(),
                       {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour)});
        }
        out.insert(out.end(), stride - static_cast<size_t>(image.width) * 3, 0);
    }
    Put32(out, 3);
    Put16(out, 0);
    return out;
}

std::string HexText(const std::vector<uint8_t>& bytes, size_t lineLength) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    size_t onLine = 0;
    for (const uint8_t byte : bytes) {
        for (const int digit : {byte >> 4, byte & 0xF}) {
            text += kDigits[digit];
            if (lineLength != 0 && ++onLine == lineLength) {
                text += "\r\n";
                onLine = 0;
            }
        }
    }
    return text;
}

std::string RichTextPicture(const Image& image, int goalWidth, int goalHeight) {
    return "{\\pict\\wmetafile8\\picw" + std::to_string(image.width * 26) + "\\pich" +
           std::to_string(image.height * 26) + "\\picwgoal" + std::to_string(goalWidth) +
           "\\pichgoal" + std::to_string(goalHeight) + " \r\n" +
           HexText(MetafileBytes(image), 128) + "\r\n}";
}

} // namespace pinsum::test
