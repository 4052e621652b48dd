#include "picture/jpeg_codec.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>

#include "support/picture_samples.h"

namespace pinsum {
namespace {

std::vector<uint8_t> Encoded(const Image& image) {
    const auto jpeg = EncodeJpeg(image);
    EXPECT_TRUE(jpeg.has_value());
    return jpeg.value_or(std::vector<uint8_t>());
}

TEST(JpegCodec, RoundTripKeepsColoursAndListsRowsBottomUp) {
    const Image picture = test::BlockPicture(40, 40);
    const std::vector<uint8_t> jpeg = Encoded(picture);
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);

    const auto pixels = DecodeJpeg(jpeg, 1600);
    ASSERT_TRUE(pixels.has_value());
    EXPECT_EQ(pixels->width, 40);
    EXPECT_EQ(pixels->height, 40);
    const Image image = ImageFromPixelArray(*pixels, false);
    EXPECT_LT(test::MeanDifference(image, picture), 8);
    // The array's first entry is the picture's bottom-left pixel: the top-left block is red, the
    // bottom-left one green.
    EXPECT_EQ(image.At(0, 0), pixels->colours[static_cast<size_t>(39) * 40]);
    EXPECT_GT(pixels->colours[0] >> 8 & 0xFF, 120u);
    EXPECT_GT(image.At(0, 0) & 0xFF, 200u);
}

std::vector<uint8_t> ReadFile(const std::string& name) {
    std::ifstream in(std::string(PINSUM_TEST_DATA_DIR) + "/pictures/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(JpegCodec, GreyScaleAndProgressiveFilesOfAnotherEncoder) {
    const auto grey = DecodeJpeg(ReadFile("grey.jpg"), 1600);
    ASSERT_TRUE(grey.has_value());
    ASSERT_EQ(grey->colours.size(), 32u * 16u);
    for (size_t i = 0; i < grey->colours.size(); ++i) {
        const uint32_t colour = grey->colours[i];
        EXPECT_EQ(colour, ColourRef(colour & 0xFF, colour & 0xFF, colour & 0xFF));
        EXPECT_NEAR(static_cast<int>(colour & 0xFF), static_cast<int>(i % 32 * 8), 6);
    }

    const auto blocks = DecodeJpeg(ReadFile("progressive.jpg"), 1600);
    ASSERT_TRUE(blocks.has_value());
    const Image image = ImageFromPixelArray(*blocks, false);
    const std::pair<int, uint32_t> centres[] = {{0, ColourRef(255, 0, 0)},
                                                {1, ColourRef(0, 160, 0)},
                                                {2, ColourRef(0, 0, 255)},
                                                {3, ColourRef(255, 255, 255)}};
    for (const auto& [block, colour] : centres) {
        const Image expected{1, 1, {colour}};
        const Image decoded{1, 1, {image.At(block % 2 * 16 + 8, block / 2 * 16 + 8)}};
        EXPECT_LT(test::MeanDifference(decoded, expected), 6) << block;
    }

    EXPECT_EQ(GreyColour(ColourRef(255, 0, 0)), ColourRef(76, 76, 76));
    EXPECT_EQ(GreyColour(ColourRef(255, 255, 255)), ColourRef(254, 254, 254));
    EXPECT_EQ(GreyColour(ColourRef(10, 20, 30)), ColourRef(17, 17, 17));
}

TEST(JpegCodec, BadDataFailsCleanlyAndQuickly) {
    const std::vector<uint8_t> jpeg = Encoded(test::BlockPicture(64, 64));
    EXPECT_FALSE(DecodeJpeg({}, 1600));
    EXPECT_FALSE(DecodeJpeg(std::vector<uint8_t>(100, 0x41), 1600));
    EXPECT_FALSE(DecodeJpeg(std::span(jpeg).first(20), 1600));
    EXPECT_FALSE(DecodeJpeg(jpeg, 63)) << "wider than allowed";

    // Cut in the scan data: libjpeg fills the rest, and nothing breaks.
    const auto cut = DecodeJpeg(std::span(jpeg).first(jpeg.size() - 10), 1600);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->colours.size(), 64u * 64u);

    // A header announcing 65000 x 65000 pixels is refused before anything is decoded.
    std::vector<uint8_t> huge = jpeg;
    for (size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0xFD;
            huge[i + 6] = 0xE8;
            huge[i + 7] = 0xFD;
            huge[i + 8] = 0xE8;
        }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DecodeJpeg(huge, 65535));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    EXPECT_FALSE(EncodeJpeg(Image{2, 2, {1, 2, 3}})) << "fewer pixels than the size";
}

} // namespace
} // namespace pinsum
