#pragma once

#include <string>
#include <string_view>

namespace pinsum {
struct SearchRequest;
} // namespace pinsum

namespace pinsum::cli {

// The name in Unicode normal form C, so that a name typed with decomposed diacritics ("R" and a
// combining caron, as some editors and file systems write it) matches the catalogue's, whose
// Windows-1250 characters are all precomposed. A text that is not UTF-8 is returned as it is.
std::string ComposedName(std::string_view utf8);

// Every name of the request in normal form C. Throws RequestError for two keys of the counts that
// are the same name then.
void ComposeNames(SearchRequest& request);

} // namespace pinsum::cli
