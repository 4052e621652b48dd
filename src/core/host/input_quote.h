#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pinsum {

// How much of an input a message shows: a name, a key or a token can be megabytes long, and the
// message must stay one short line.
inline constexpr size_t kQuotedCharacters = 60;

// The input as a message shows it: its first kQuotedCharacters characters, "..." when there is
// more, control characters written as escapes ("\n", "\x1b"). Works on UTF-8 and on Windows-1250
// bytes alike: a cut never splits a UTF-8 sequence, and at most four bytes count as one character.
std::string ShortenInput(std::string_view text);

// ShortenInput between quotes: 'name'.
std::string QuoteInput(std::string_view text, char quote = '\'');

// A Windows-1250 text (a name from the catalogue) quoted in UTF-8.
std::string QuoteCp1250Input(std::string_view cp1250);

// A UTF-8 text as a terminal may be given it: control characters (C0, DEL, and the C1 controls
// U+0080 to U+009F, some of which a terminal takes for escapes) written as escapes ("\x1b",
// "\u009b"), bytes that are no UTF-8 as "\xNN", and every other character as it is. Characters
// of `layout` are kept: the text's own line ends and tabs.
std::string ShowControls(std::string_view utf8, std::string_view layout = {});

} // namespace pinsum
