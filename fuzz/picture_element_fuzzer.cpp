// The mark-up picture element: arbitrary elements read and decoded, and arbitrary bytes written
// into an element that must read back unchanged.
#include <cstdlib>
#include <span>
#include <string>

#include "helptext/picture_conversion.h"
#include "helptext/picture_element.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    DecodePicture(text, 0);
    DecodePictureElement(text, 0, size % 2 == 0);

    std::string element;
    EncodePicture(element, std::span(data, size), 1, 2, 3, 4);
    const auto back = DecodePicture(element, 0);
    if (size > 0 &&
        (!back || !std::equal(back->jpeg.begin(), back->jpeg.end(), data, data + size) ||
         back->jpeg.size() != size || back->end != element.size()))
        std::abort();
    return 0;
}
