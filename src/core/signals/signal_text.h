#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pinsum {

// The key under which a signal type or an IO kind's name is compared: Unicode normal form C,
// case folded, so that "di 24v dc" and a decomposed "Čítač" match the catalogue's names. A text
// that is no valid UTF-8 is returned as it is.
std::string NameKey(std::string_view utf8);

// The valid UTF-8 text case folded and in normal form C. The platform defines it: utf8proc
// natively, the browser's own Unicode tables in the page.
std::string FoldedNormalForm(std::string_view utf8);

// The text without the blanks (spaces, tabs, no-break spaces, line breaks) around it.
std::string_view TrimBlanks(std::string_view utf8);

// The offset of the first byte that does not belong to a well-formed UTF-8 sequence (overlong
// forms, surrogates and values beyond U+10FFFF included), or npos when there is none.
size_t InvalidUtf8At(std::string_view text);

// The number of characters of valid UTF-8.
size_t Utf8Length(std::string_view text);

} // namespace pinsum
