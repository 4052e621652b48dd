#include "picture/bitmap_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace pinsum {
namespace {

void Put(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

// A 3 x 2 bitmap file whose pixel rows the caller fills; a palette of red, green, blue, white.
std::vector<uint8_t> BitmapFile(uint16_t bits, int32_t height = 2) {
    const size_t palette = bits <= 8 ? 4 * 4 : 0;
    const size_t stride = (3 * bits + 31) / 32 * 4;
    std::vector<uint8_t> file(14 + 40 + palette + stride * 2, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put(file, 2, static_cast<uint32_t>(file.size()), 4);
    Put(file, 10, static_cast<uint32_t>(14 + 40 + palette), 4);
    Put(file, 14, 40, 4);
    Put(file, 18, 3, 4);
    Put(file, 22, static_cast<uint32_t>(height), 4);
    Put(file, 26, 1, 2);
    Put(file, 28, bits, 2);
    if (bits <= 8) {
        Put(file, 46, std::min(4u, 1u << bits), 4);
        const uint32_t entries[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF}; // BGRx
        for (size_t i = 0; i < 4; ++i)
            Put(file, 54 + i * 4, entries[i], 4);
    }
    return file;
}

// The stored rows are the file's last bytes; the first stored row is the bottom one.
void SetRows(std::vector<uint8_t>& file, const std::vector<uint8_t>& rows) {
    std::copy(rows.begin(), rows.end(), file.end() - static_cast<std::ptrdiff_t>(rows.size()));
}

constexpr uint32_t kRed = ColourRef(255, 0, 0);
constexpr uint32_t kGreen = ColourRef(0, 255, 0);
constexpr uint32_t kBlue = ColourRef(0, 0, 255);
constexpr uint32_t kWhite = ColourRef(255, 255, 255);
constexpr uint32_t kBlack = 0;

const std::vector<uint8_t> kRows24 = {0,   0,   255, 0, 255, 0, 255, 0,   0,   0, 0, 0,
                                      255, 255, 255, 0, 0,   0, 255, 255, 255, 0, 0, 0};

std::vector<uint8_t> Valid24() {
    std::vector<uint8_t> file = BitmapFile(24);
    SetRows(file, kRows24);
    return file;
}

TEST(BitmapFile, ReadsEveryUncompressedDepth) {
    struct Case {
        uint16_t bits;
        std::vector<uint8_t> rows;
        std::vector<uint32_t> top;
        std::vector<uint32_t> bottom;
    };
    // The palette is red, green, blue, white; an index past it gives black.
    const Case cases[] = {
        {1, {0x40, 0, 0, 0, 0xE0, 0, 0, 0}, {kGreen, kGreen, kGreen}, {kRed, kGreen, kRed}},
        {4, {0x01, 0x20, 0, 0, 0x33, 0x50, 0, 0}, {kWhite, kWhite, kBlack}, {kRed, kGreen, kBlue}},
        {8, {0, 1, 2, 0, 3, 3, 200, 0}, {kWhite, kWhite, kBlack}, {kRed, kGreen, kBlue}},
        {24, kRows24, {kWhite, kBlack, kWhite}, {kRed, kGreen, kBlue}},
        {32,
         {0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9, 255, 255, 255, 9, 0, 0, 0, 9, 9, 9, 9, 9},
         {kWhite, kBlack, ColourRef(9, 9, 9)},
         {kRed, kGreen, kBlue}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = BitmapFile(c.bits);
        SetRows(file, c.rows);
        const auto image = DecodeBitmapFile(file);
        ASSERT_TRUE(image.has_value()) << c.bits;
        EXPECT_EQ(image->pixels, (std::vector<uint32_t>{c.top[0], c.top[1], c.top[2], c.bottom[0],
                                                        c.bottom[1], c.bottom[2]}))
            << c.bits << " bits";
    }

    std::vector<uint8_t> topDown = Valid24();
    Put(topDown, 22, static_cast<uint32_t>(-2), 4);
    const auto image = DecodeBitmapFile(topDown);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->At(0, 0), kRed) << "a negative height stores the top row first";
}

TEST(BitmapFile, RejectsOtherKindsAndLyingHeaders) {
    const std::function<void(std::vector<uint8_t>&)> changes[] = {
        [](auto& f) { f[1] = 'A'; },
        [](auto& f) { Put(f, 14, 12, 4); },          // the old core header
        [](auto& f) { Put(f, 26, 2, 2); },           // planes
        [](auto& f) { Put(f, 28, 16, 2); },          // 16 bits
        [](auto& f) { Put(f, 30, 1, 4); },           // run-length compressed
        [](auto& f) { Put(f, 30, 3, 4); },           // bit fields
        [](auto& f) { Put(f, 18, 0, 4); },           // no width
        [](auto& f) { Put(f, 22, 0, 4); },           // no height
        [](auto& f) { Put(f, 22, 0x80000000u, 4); }, // the most negative height
        [](auto& f) { Put(f, 18, 0x7FFFFFFF, 4); },  // pixels far past the file
        [](auto& f) { Put(f, 10, static_cast<uint32_t>(f.size()), 4); },
        [](auto& f) { Put(f, 10, 0xFFFFFFF0u, 4); },
        [](auto& f) { f.pop_back(); },
        [](auto& f) { f.resize(20); },
        [](auto& f) { Put(f, 28, 8, 2), Put(f, 46, 300, 4); }, // more colours than 8 bits hold
        [](auto& f) { Put(f, 28, 8, 2), Put(f, 14, 0xFFFFFF00u, 4); }, // palette past the file
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        std::vector<uint8_t> file = Valid24();
        changes[i](file);
        EXPECT_FALSE(DecodeBitmapFile(file)) << "change " << i;
    }
    EXPECT_FALSE(LoadBitmapFile("/nonexistent/picture.bmp"));
}

} // namespace
} // namespace pinsum
