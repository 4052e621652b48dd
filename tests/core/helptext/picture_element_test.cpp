#include "helptext/picture_element.h"

#include <gtest/gtest.h>

namespace pinsum {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(PictureElement, EscapedSoThatNoZeroByteRemains) {
    std::string element;
    EncodePicture(element, Bytes{0x00, 0x41, 0xFF}, 10, 11, 12, 0xABCD);
    EXPECT_EQ(element, std::string("<pict>000A000B000C"
                                   "ABCD"
                                   "00000005") +
                           "\xFF\xFE"
                           "A"
                           "\xFF\xFD"
                           "</pict>");

    Bytes every;
    for (int round = 0; round < 3; ++round)
        for (int value = 0; value < 256; ++value)
            every.push_back(static_cast<uint8_t>(value));
    element = "before";
    EncodePicture(element, every, 0xFFFF, 0, 1600, 1);
    EXPECT_EQ(element.find('\0'), std::string::npos);
    const auto decoded = DecodePicture(element + "after", 6);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->jpeg, every);
    EXPECT_EQ(decoded->displayWidth, 0xFFFFu);
    EXPECT_EQ(decoded->displayHeight, 0u);
    EXPECT_EQ(decoded->pixelWidth, 1600u);
    EXPECT_EQ(decoded->pixelHeight, 1u);
    EXPECT_EQ(decoded->end, element.size());
}

TEST(PictureElement, MalformedElementsFail) {
    const std::string head = "<pict>00100010000100010000000";
    EXPECT_FALSE(DecodePicture(head + "0</pict>", 0)) << "count 0";
    EXPECT_FALSE(DecodePicture(head + "4abc", 0)) << "count past the text";
    EXPECT_FALSE(DecodePicture("<pict>0010001000010001FFFFFFFFabc", 0));
    EXPECT_FALSE(DecodePicture(head + "G" + "abcdefghijklmnop", 0)) << "count not hex";
    EXPECT_FALSE(DecodePicture(head + "2a\xFF", 0)) << "escape cut by the count";
    EXPECT_FALSE(DecodePicture(head, 0));
    EXPECT_FALSE(DecodePicture("<pict>", 0));
    EXPECT_FALSE(DecodePicture("<b>" + head + "1a", 0));
    EXPECT_FALSE(DecodePicture(head + "1a", head.size() + 10));

    // Size fields in either case, stopping at a stray character; no "</pict>" is needed.
    const auto element = DecodePicture("<pict>00ff"
                                       "1z00"
                                       "1000"
                                       "0000"
                                       "00000001"
                                       "a",
                                       0);
    ASSERT_TRUE(element.has_value());
    EXPECT_EQ(element->displayWidth, 0xFFu);
    EXPECT_EQ(element->displayHeight, 1u);
    EXPECT_EQ(element->pixelWidth, 0x1000u);
    EXPECT_EQ(element->pixelHeight, 0u);
    EXPECT_EQ(element->end, 31u);
}

} // namespace
} // namespace pinsum
