#pragma once

#include <string_view>

#include "helptext/rich_text_document.h"

namespace pinsum {

// Reads rich text into a document: paragraphs, bold, italic, underline, colours, and pictures
// held as a metafile with a 24-bit bitmap or as JPEG data. Destinations it does not know, and
// every group marked "\*", are skipped; so is a picture it cannot read. Any depth of nesting is
// safe. The result has at least one paragraph.
RichTextDocument ReadRichText(std::string_view rtf);

} // namespace pinsum
