// A rich-text picture's hex metafile turned into a mark-up picture, which must then decode.
#include <cstdlib>
#include <string>

#include "helptext/picture_conversion.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view hex(reinterpret_cast<const char*>(data), size);
    std::string markup;
    if (CompressPicture(markup, hex, 1440, 720) && !DecodePictureElement(markup, 0, false))
        std::abort();
    return 0;
}
