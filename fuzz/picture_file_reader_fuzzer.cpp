// The picture file readers, JPEG and Windows bitmap, on arbitrary bytes. JPEG is read with the
// limit of a picture element, 1,600 pixels either way: the larger limit of files only makes
// decoding a hostile header slower.
#include <span>

#include "picture/bitmap_file.h"
#include "picture/jpeg_codec.h"
#include "picture/metafile_reader.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    DecodeJpeg(bytes, kMaxMarkupPictureSide);
    DecodeBitmapFile(bytes);
    return 0;
}
