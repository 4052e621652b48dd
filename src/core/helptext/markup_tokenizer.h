#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pinsum {

// Token numbers of the mark-up's tag table.
enum class MarkupTag : int {
    Text = 0, // one plain character
    BoldOn = 1,
    BoldOff = 2,
    UnderlineOn = 3,
    UnderlineOff = 4,
    ItalicOn = 5,
    ItalicOff = 6,
    LineBreak = 7,
    CellStart = 8,
    Marker = 9,
    Picture = 10, // "<pict>": the element goes on after it, see DecodePicture
    PictureEnd = 11,
    Font = 12, // only "<font color=\"#RRGGBB\">" is recognised
    FontEnd = 13,
    ColorAttribute = 14, // the attribute name inside a font element, never a token of its own
    CellEnd = 15,
    Reserved = 16, // "<_?>", which no converter writes
};

struct MarkupToken {
    MarkupTag tag = MarkupTag::Text;
    size_t length = 1;   // characters the token takes, its "<" and ">" included
    uint32_t colour = 0; // of a font element, 0x00BBGGRR
};

// The token at pos (pos < text.size()). Tag names are matched ignoring case; a "<" that starts no
// recognised tag is plain text.
MarkupToken NextMarkupToken(std::string_view text, size_t pos);

} // namespace pinsum
