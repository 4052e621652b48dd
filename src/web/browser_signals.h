#pragma once

#include <string>

namespace pinsum::web {

// Takes a batch of the XML events the page's reader found in the part being parsed: tokens, each
// ended by a NUL, whose first character says what it is ('<' a start tag's name, '=' an
// attribute's name and '"' its value after it, '>' an end tag's name, 't' text, '!' a document
// type declaration). Answers false when the engine stopped reading the part, which the page then
// gives up.
bool FeedXmlEvents(const std::string& batch);

} // namespace pinsum::web
