#include "helptext/picture_conversion.h"

#include <vector>

#include "helptext/picture_element.h"
#include "picture/jpeg_codec.h"
#include "picture/metafile_reader.h"
#include "picture/picture_file.h"

namespace pinsum {
namespace {

// JPEG's own limit; the pixel budget of the decoder is what bounds a file.
constexpr int kMaxJpegFileSide = 65535;

void ReportFailure(Messenger* messenger) {
    if (messenger != nullptr)
        messenger->Show(std::string(kPictureFailureMessage), MessageIcon::Stop, MessageButtons::Ok);
}

} // namespace

std::optional<Image> LoadJpegFile(const std::string& path, Messenger* messenger) {
    const std::optional<std::vector<uint8_t>> bytes = ReadPictureFile(path);
    if (!bytes)
        return std::nullopt;
    const std::optional<PixelArray> pixels = DecodeJpeg(*bytes, kMaxJpegFileSide);
    if (!pixels) {
        ReportFailure(messenger);
        return std::nullopt;
    }
    return ImageFromPixelArray(*pixels, false);
}

bool CompressPicture(std::string& out, std::string_view hex, uint16_t displayWidth,
                     uint16_t displayHeight, Messenger* messenger) {
    const std::optional<Image> bitmap = ReadMetafileBitmap(hex);
    const std::optional<std::vector<uint8_t>> jpeg = bitmap ? EncodeJpeg(*bitmap) : std::nullopt;
    if (!jpeg) {
        ReportFailure(messenger);
        return false;
    }
    EncodePicture(out, *jpeg, displayWidth, displayHeight, static_cast<uint16_t>(bitmap->width),
                  static_cast<uint16_t>(bitmap->height));
    return true;
}

std::optional<Image> DecodePictureElement(std::string_view markup, size_t pos, bool grey) {
    const std::optional<PictureElement> element = DecodePicture(markup, pos);
    if (!element)
        return std::nullopt;
    const std::optional<PixelArray> pixels = DecodeJpeg(element->jpeg, kMaxMarkupPictureSide);
    if (!pixels)
        return std::nullopt;
    return ImageFromPixelArray(*pixels, grey);
}

} // namespace pinsum
