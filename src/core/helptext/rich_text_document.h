#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "picture/image.h"

namespace pinsum {

// Text in one format. The text is Windows-1250 bytes without line ends; the colour is a colour
// reference, none for the automatic colour.
struct RichTextRun {
    std::string text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<uint32_t> colour;

    bool SameFormat(const RichTextRun& other) const {
        return bold == other.bold && italic == other.italic && underline == other.underline &&
               colour == other.colour;
    }
    bool operator==(const RichTextRun&) const = default;
};

// A 24-bit picture and the size it is shown at.
struct RichTextPicture {
    Image image;
    int widthTwips = 0;
    int heightTwips = 0;
};

using RichTextItem = std::variant<RichTextRun, RichTextPicture>;

struct RichTextParagraph {
    std::vector<RichTextItem> items;
};

// What the help editor holds: paragraphs of formatted runs and pictures. It is written as the
// rich text the editor streams out, pictures as metafiles holding a 24-bit bitmap.
class RichTextDocument {
public:
    // Appends text to the last paragraph, to its last run when that has the same format.
    void Append(const RichTextRun& run);
    void Append(RichTextPicture picture);
    void NewParagraph() { paragraphs.emplace_back(); }

    // No text and no picture.
    bool IsEmpty() const;
    std::string ToRichText() const;

    std::vector<RichTextParagraph> paragraphs;
};

} // namespace pinsum
