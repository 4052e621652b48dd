#include "picture/bitmap_file.h"

#include <cstdint>
#include <vector>

#include "picture/picture_file.h"

namespace pinsum {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

class LittleEndian {
public:
    explicit LittleEndian(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    bool Has(size_t offset, size_t count) const {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }
    uint32_t U16(size_t offset) const { return m_bytes[offset] | (m_bytes[offset + 1] << 8); }
    uint32_t U32(size_t offset) const { return U16(offset) | (U16(offset + 2) << 16); }
    uint8_t U8(size_t offset) const { return m_bytes[offset]; }

private:
    std::span<const uint8_t> m_bytes;
};

struct Layout {
    size_t width = 0;
    size_t height = 0;
    bool topDown = false;
    unsigned bits = 0;
    size_t paletteOffset = 0;
    size_t paletteSize = 0;
    size_t pixelOffset = 0;
    size_t stride = 0;
};

bool SupportedDepth(unsigned bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

std::optional<Layout> ReadLayout(const LittleEndian& in) {
    if (!in.Has(0, kFileHeaderSize + kInfoHeaderSize) || in.U16(0) != 0x4D42)
        return std::nullopt;
    const size_t headerSize = in.U32(kFileHeaderSize);
    const auto width = static_cast<int32_t>(in.U32(kFileHeaderSize + 4));
    const auto height = static_cast<int32_t>(in.U32(kFileHeaderSize + 8));
    Layout layout;
    layout.bits = in.U16(kFileHeaderSize + 14);
    if (headerSize < kInfoHeaderSize || in.U16(kFileHeaderSize + 12) != 1 ||
        !SupportedDepth(layout.bits) || in.U32(kFileHeaderSize + 16) != 0 || width <= 0 ||
        height == 0 || height == INT32_MIN)
        return std::nullopt;
    layout.width = static_cast<size_t>(width);
    layout.height = static_cast<size_t>(height < 0 ? -height : height);
    layout.topDown = height < 0;
    if (layout.width * layout.height > kMaxPicturePixels)
        return std::nullopt;

    if (layout.bits <= 8) {
        const size_t used = in.U32(kFileHeaderSize + 32);
        const size_t full = size_t{1} << layout.bits;
        if (used > full)
            return std::nullopt;
        layout.paletteSize = used == 0 ? full : used;
        layout.paletteOffset = kFileHeaderSize + headerSize;
        if (!in.Has(layout.paletteOffset, layout.paletteSize * 4))
            return std::nullopt;
    }
    layout.pixelOffset = in.U32(10);
    layout.stride = (layout.width * layout.bits + 31) / 32 * 4;
    if (!in.Has(layout.pixelOffset, layout.stride * layout.height))
        return std::nullopt;
    return layout;
}

uint32_t PaletteColour(const LittleEndian& in, const Layout& layout, size_t index) {
    if (index >= layout.paletteSize)
        return 0;
    const size_t at = layout.paletteOffset + index * 4;
    return ColourRef(in.U8(at + 2), in.U8(at + 1), in.U8(at));
}

uint32_t PixelColour(const LittleEndian& in, const Layout& layout, size_t row, size_t x) {
    if (layout.bits >= 24) {
        const size_t at = row + x * (layout.bits / 8);
        return ColourRef(in.U8(at + 2), in.U8(at + 1), in.U8(at));
    }
    const size_t bit = x * layout.bits;
    const unsigned shift = 8 - layout.bits - static_cast<unsigned>(bit % 8);
    const size_t index = (in.U8(row + bit / 8) >> shift) & ((1u << layout.bits) - 1);
    return PaletteColour(in, layout, index);
}

} // namespace

std::optional<Image> DecodeBitmapFile(std::span<const uint8_t> file) {
    const LittleEndian in(file);
    const std::optional<Layout> layout = ReadLayout(in);
    if (!layout)
        return std::nullopt;
    Image image{static_cast<int>(layout->width), static_cast<int>(layout->height),
                std::vector<uint32_t>(layout->width * layout->height)};
    auto out = image.pixels.begin();
    for (size_t y = 0; y < layout->height; ++y) {
        const size_t stored = layout->topDown ? y : layout->height - 1 - y;
        const size_t row = layout->pixelOffset + stored * layout->stride;
        for (size_t x = 0; x < layout->width; ++x)
            *out++ = PixelColour(in, *layout, row, x);
    }
    return image;
}

std::optional<Image> LoadBitmapFile(const std::string& path) {
    const std::optional<std::vector<uint8_t>> bytes = ReadPictureFile(path);
    return bytes ? DecodeBitmapFile(*bytes) : std::nullopt;
}

} // namespace pinsum
