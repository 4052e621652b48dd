#include "picture/metafile_reader.h"

#include <gtest/gtest.h>

#include <cctype>

#include "support/picture_samples.h"

namespace pinsum {
namespace {

using test::HexText;
using test::MetafileBytes;
using test::MetafileFields;

std::optional<Image> Read(const Image& image, const MetafileFields& fields = {}) {
    return ReadMetafileBitmap(HexText(MetafileBytes(image, fields)));
}

TEST(MetafileReader, ReadsTheStretchedBitmapTopRowFirst) {
    // Widths 1 to 4 cover every row padding.
    for (int width = 1; width <= 4; ++width) {
        const Image picture = test::BlockPicture(width * 5, 11);
        const auto image = Read(picture);
        ASSERT_TRUE(image.has_value()) << width;
        EXPECT_EQ(image->pixels, picture.pixels) << width;
    }
    // Line breaks between any two digits, upper-case digits, and whatever follows the pixels.
    const std::vector<uint8_t> bytes = MetafileBytes(test::BlockPicture(9, 9));
    const auto unbroken = ReadMetafileBitmap(HexText(bytes));
    std::string broken = HexText(bytes, 7);
    for (char& c : broken)
        c = static_cast<char>(std::toupper(c));
    const auto read = ReadMetafileBitmap("\n" + broken + "\r\r\n}{\\par trailing");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->pixels, unbroken->pixels);
}

TEST(MetafileReader, SizeLimitsAreOneTo1600EachWay) {
    const auto largest = Read(Image{1600, 1200, std::vector<uint32_t>(1600 * 1200, 0x123456)});
    ASSERT_TRUE(largest.has_value());
    EXPECT_EQ(largest->width, 1600);
    EXPECT_EQ(largest->height, 1200);
    EXPECT_EQ(largest->At(1599, 1199), 0x123456u);

    const Image small = test::BlockPicture(4, 4);
    for (const int32_t side : {1601, 0, -4, -1600, 0x7FFFFFFF}) {
        EXPECT_FALSE(Read(small, {.width = side})) << "width " << side;
        EXPECT_FALSE(Read(small, {.height = side})) << "height " << side;
    }
}

TEST(MetafileReader, EveryRuleOfTheHeaderAndRecordHolds) {
    const Image small = test::BlockPicture(4, 4);
    const MetafileFields broken[] = {
        {.type = 2},
        {.headerWords = 12},
        {.version = 0x0100},
        {.parameters = 1},
        {.recordWords = 3},
        {.rasterOperation = 0x00EE0086},
        {.colourUsage = 1},
        {.planes = 2},
        {.bits = 8},
        {.bits = 32},
        {.compression = 1},
        {.coloursUsed = 256},
        {.coloursImportant = 1},
    };
    for (size_t i = 0; i < std::size(broken); ++i)
        EXPECT_FALSE(Read(small, broken[i])) << "case " << i;

    const std::string hex = HexText(MetafileBytes(small));
    EXPECT_FALSE(ReadMetafileBitmap(""));
    EXPECT_FALSE(ReadMetafileBitmap(hex.substr(0, hex.size() - 20))) << "pixels cut short";
    EXPECT_FALSE(ReadMetafileBitmap(hex.substr(0, 200) + "}" + hex.substr(200)));
    EXPECT_FALSE(ReadMetafileBitmap(hex.substr(0, 100) + " " + hex.substr(100)));

    // A record before the bitmap whose size runs past the text, or is zero.
    std::string skipped = hex;
    skipped.replace(36, 8, "ffffff7f");
    EXPECT_FALSE(ReadMetafileBitmap(skipped));
    skipped.replace(36, 8, "00000000");
    EXPECT_FALSE(ReadMetafileBitmap(skipped));
}

} // namespace
} // namespace pinsum
