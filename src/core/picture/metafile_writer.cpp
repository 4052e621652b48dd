#include "picture/metafile_writer.h"

#include <algorithm>

namespace pinsum {
namespace {

constexpr uint16_t kSetMapMode = 0x0103;
constexpr uint16_t kSetWindowOrigin = 0x020B;
constexpr uint16_t kSetWindowExtent = 0x020C;
constexpr uint16_t kStretchBitmap = 0x0F43;
constexpr uint16_t kAnisotropic = 8;
constexpr uint32_t kSourceCopy = 0x00CC0020;
constexpr size_t kHeaderBytes = 18;
constexpr size_t kBitmapHeaderBytes = 40;

class Bytes {
public:
    void Word(uint32_t value) {
        m_bytes.push_back(static_cast<uint8_t>(value));
        m_bytes.push_back(static_cast<uint8_t>(value >> 8));
    }
    void Double(uint32_t value) {
        Word(value & 0xFFFF);
        Word(value >> 16);
    }
    void Record(uint16_t function, std::initializer_list<uint16_t> words) {
        Double(static_cast<uint32_t>(3 + words.size()));
        Word(function);
        for (const uint16_t word : words)
            Word(word);
    }
    void Byte(uint8_t value) { m_bytes.push_back(value); }
    void Zeros(size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }
    void PatchDouble(size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            m_bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    }
    size_t Size() const { return m_bytes.size(); }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

void BitmapRecord(Bytes& out, const Image& image, size_t stride) {
    const auto width = static_cast<uint16_t>(image.width);
    const auto height = static_cast<uint16_t>(image.height);
    const size_t pixelBytes = stride * static_cast<size_t>(image.height);
    out.Double(static_cast<uint32_t>((6 + 4 + 2 + 16 + kBitmapHeaderBytes + pixelBytes) / 2));
    out.Word(kStretchBitmap);
    out.Double(kSourceCopy);
    out.Word(0); // RGB colours
    for (const uint16_t word :
         {height, width, uint16_t{0}, uint16_t{0}, height, width, uint16_t{0}, uint16_t{0}})
        out.Word(word);
    out.Double(kBitmapHeaderBytes);
    out.Double(static_cast<uint32_t>(image.width));
    out.Double(static_cast<uint32_t>(image.height));
    out.Word(1);
    out.Word(24);
    out.Double(0);
    out.Double(static_cast<uint32_t>(pixelBytes));
    out.Zeros(16); // resolutions, colours used and important
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t colour = image.At(x, y);
            out.Byte(static_cast<uint8_t>(colour >> 16));
            out.Byte(static_cast<uint8_t>(colour >> 8));
            out.Byte(static_cast<uint8_t>(colour));
        }
        out.Zeros(stride - static_cast<size_t>(image.width) * 3);
    }
}

} // namespace

std::vector<uint8_t> MetafileFromImage(const Image& image) {
    const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) / 4 * 4;
    Bytes out;
    out.Word(1); // in memory
    out.Word(kHeaderBytes / 2);
    out.Word(0x0300);
    out.Double(0); // file size in words, set below
    out.Word(0);   // objects
    out.Double(0); // largest record in words, set below
    out.Word(0);   // parameters
    out.Record(kSetMapMode, {kAnisotropic});
    out.Record(kSetWindowOrigin, {0, 0});
    out.Record(kSetWindowExtent,
               {static_cast<uint16_t>(image.height), static_cast<uint16_t>(image.width)});
    const size_t bitmapAt = out.Size();
    BitmapRecord(out, image, stride);
    const size_t bitmapWords = (out.Size() - bitmapAt) / 2;
    out.Record(0, {});
    out.PatchDouble(6, static_cast<uint32_t>(out.Size() / 2));
    out.PatchDouble(12, static_cast<uint32_t>(bitmapWords));
    return out.Take();
}

} // namespace pinsum
