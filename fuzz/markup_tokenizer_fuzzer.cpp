// The mark-up tokenizer over arbitrary text, as the layout walks it, with every picture element
// read where one starts.
#include <cstdlib>
#include <string_view>

#include "helptext/markup_tokenizer.h"
#include "helptext/picture_element.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (size_t at = 0; at < text.size();) {
        const MarkupToken token = NextMarkupToken(text, at);
        if (token.length == 0 || token.length > text.size() - at)
            std::abort();
        if (token.tag == MarkupTag::Picture) {
            const auto element = DecodePicture(text, at);
            if (element && (element->end <= at || element->end > text.size()))
                std::abort();
        }
        at += token.length;
    }
    return 0;
}
