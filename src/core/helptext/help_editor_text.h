#pragma once

#include <string>
#include <string_view>

#include "helptext/rich_text_document.h"

namespace pinsum {

// What the help editor shows of a stored help: the current language's rich-text section, or a
// plain or mark-up help as unformatted text, one paragraph a line.
RichTextDocument LoadHelpDocument(std::string_view stored);

// The stored help after the editor's OK: empty for an empty document, else the document's rich
// text merged into the stored sections as the current language's section.
std::string SaveHelpDocument(std::string_view stored, const RichTextDocument& document);

} // namespace pinsum
