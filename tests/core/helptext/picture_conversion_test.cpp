#include "helptext/picture_conversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "helptext/picture_element.h"
#include "picture/jpeg_codec.h"
#include "support/picture_samples.h"
#include "support/recorders.h"

namespace pinsum {
namespace {

const std::filesystem::path kTempPath =
    std::filesystem::temp_directory_path() / "pinsum_picture_conversion.jpg";

std::string TempFile(const std::vector<uint8_t>& bytes) {
    const auto& path = kTempPath;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

TEST(PictureConversion, RichTextPictureBecomesAnElementThatDecodesBack) {
    test::RecordingMessenger messenger;
    const Image picture = test::BlockPicture(24, 16);
    std::string markup = "<mi>x";
    ASSERT_TRUE(CompressPicture(markup, test::HexText(test::MetafileBytes(picture), 128), 360, 240,
                                &messenger));
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_EQ(markup.substr(0, 27), "<mi>x<pict>0168"
                                    "00F0"
                                    "0018"
                                    "0010");

    const auto element = DecodePicture(markup, 5);
    ASSERT_TRUE(element.has_value());
    EXPECT_EQ(element->end, markup.size());
    const auto image = DecodePictureElement(markup, 5, false);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 24);
    EXPECT_LT(test::MeanDifference(*image, picture), 8);

    const auto grey = DecodePictureElement(markup, 5, true);
    ASSERT_TRUE(grey.has_value());
    EXPECT_EQ(grey->At(3, 2), GreyColour(image->At(3, 2)));
    EXPECT_FALSE(DecodePictureElement(markup, 0, false)) << "not at the element";
}

TEST(PictureConversion, FailuresShowTheMessageAndAppendNothing) {
    test::RecordingMessenger messenger;
    std::string markup = "<mi>";
    const Image wide = test::BlockPicture(1601, 2);
    EXPECT_FALSE(
        CompressPicture(markup, test::HexText(test::MetafileBytes(wide)), 10, 10, &messenger));
    const test::MetafileFields palette{.bits = 8};
    EXPECT_FALSE(CompressPicture(
        markup, test::HexText(test::MetafileBytes(test::BlockPicture(4, 4), palette)), 10, 10,
        &messenger));
    EXPECT_EQ(markup, "<mi>");
    EXPECT_EQ(messenger.shown, std::vector<std::string>(2, std::string(kPictureFailureMessage)));
    EXPECT_EQ(messenger.icons[0], MessageIcon::Stop);
}

TEST(PictureConversion, JpegFiles) {
    test::RecordingMessenger messenger;
    const auto jpeg = EncodeJpeg(test::BlockPicture(16, 8));
    ASSERT_TRUE(jpeg.has_value());
    const auto image = LoadJpegFile(TempFile(*jpeg), &messenger);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->height, 8);
    EXPECT_GT(image->At(0, 0) & 0xFF, 200u) << "top-left block red";

    // An empty or missing file inserts nothing, silently; a file that is no JPEG says so.
    EXPECT_FALSE(LoadJpegFile(TempFile({}), &messenger));
    EXPECT_FALSE(LoadJpegFile("/nonexistent/picture.jpg", &messenger));
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_FALSE(LoadJpegFile(TempFile({'B', 'M', 0, 0}), &messenger));
    EXPECT_EQ(messenger.shown.size(), 1u);
    std::filesystem::remove(kTempPath);
}

} // namespace
} // namespace pinsum
