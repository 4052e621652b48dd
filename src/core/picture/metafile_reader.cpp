#include "picture/metafile_reader.h"

#include <cstdint>

#include "host/hex_digit.h"

namespace pinsum {
namespace {

constexpr uint32_t kStretchBitmap = 0x0F43;
constexpr uint32_t kSourceCopy = 0x00CC0020;

// Little-endian values out of the hex text; every read fails for good once the digits run out.
class HexBytes {
public:
    explicit HexBytes(std::string_view hex) : m_hex(hex) {}

    bool Byte(uint32_t& value) {
        const int high = Digit();
        const int low = high < 0 ? -1 : Digit();
        if (low < 0)
            return false;
        value = static_cast<uint32_t>(high * 16 + low);
        return true;
    }
    bool Word(uint32_t& value) {
        uint32_t low = 0;
        uint32_t high = 0;
        if (!Byte(low) || !Byte(high))
            return false;
        value = low | (high << 8);
        return true;
    }
    bool DWord(uint32_t& value) {
        uint32_t low = 0;
        uint32_t high = 0;
        if (!Word(low) || !Word(high))
            return false;
        value = low | (high << 16);
        return true;
    }
    bool Expect(bool dword, uint32_t expected) {
        uint32_t value = 0;
        return (dword ? DWord(value) : Word(value)) && value == expected;
    }
    bool Skip(uint64_t count) {
        uint32_t ignored = 0;
        for (; count > 0; --count)
            if (!Byte(ignored))
                return false;
        return true;
    }

private:
    int Digit() {
        while (m_at < m_hex.size() && (m_hex[m_at] == '\r' || m_hex[m_at] == '\n'))
            ++m_at;
        if (m_at == m_hex.size())
            return -1;
        const int value = HexDigitValue(m_hex[m_at]);
        if (value < 0)
            m_at = m_hex.size();
        else
            ++m_at;
        return value;
    }

    std::string_view m_hex;
    size_t m_at = 0;
};

constexpr bool kWord = false;
constexpr bool kDWord = true;

bool ReadHeader(HexBytes& in) {
    return in.Expect(kWord, 1) && in.Expect(kWord, 9) && in.Expect(kWord, 0x0300) && in.Skip(10) &&
           in.Expect(kWord, 0);
}

// Leaves the reader after the function number of the first stretch-bitmap record.
bool FindStretchRecord(HexBytes& in) {
    for (;;) {
        uint32_t words = 0;
        uint32_t function = 0;
        if (!in.DWord(words) || !in.Word(function) || words <= 3 || function == 0)
            return false;
        if (function == kStretchBitmap)
            return true;
        if (!in.Skip((uint64_t{words} - 3) * 2))
            return false;
    }
}

bool ReadSide(HexBytes& in, int& side) {
    uint32_t value = 0;
    if (!in.DWord(value))
        return false;
    const auto signedValue = static_cast<int32_t>(value);
    side = static_cast<int>(signedValue);
    return signedValue >= 1 && signedValue <= kMaxMarkupPictureSide;
}

bool ReadBitmapHeader(HexBytes& in, Image& image) {
    return in.Expect(kDWord, kSourceCopy) && in.Expect(kWord, 0) && in.Skip(16) && in.Skip(4) &&
           ReadSide(in, image.width) && ReadSide(in, image.height) && in.Expect(kWord, 1) &&
           in.Expect(kWord, 24) && in.Expect(kDWord, 0) && in.Skip(12) && in.Expect(kDWord, 0) &&
           in.Expect(kDWord, 0);
}

bool ReadPixels(HexBytes& in, Image& image) {
    const size_t width = static_cast<size_t>(image.width);
    const size_t padding = (4 - width * 3 % 4) % 4;
    image.pixels.assign(width * static_cast<size_t>(image.height), 0);
    for (int y = image.height - 1; y >= 0; --y) {
        uint32_t* row = image.pixels.data() + static_cast<size_t>(y) * width;
        for (size_t x = 0; x < width; ++x) {
            uint32_t blue = 0;
            uint32_t green = 0;
            uint32_t red = 0;
            if (!in.Byte(blue) || !in.Byte(green) || !in.Byte(red))
                return false;
            row[x] = ColourRef(red, green, blue);
        }
        if (!in.Skip(padding))
            return false;
    }
    return true;
}

} // namespace

std::optional<Image> ReadMetafileBitmap(std::string_view hex) {
    HexBytes in(hex);
    Image image;
    if (!ReadHeader(in) || !FindStretchRecord(in) || !ReadBitmapHeader(in, image) ||
        !ReadPixels(in, image))
        return std::nullopt;
    return image;
}

} // namespace pinsum
