#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pinsum {

// The names most like a name that matched none, best first, at most three: those a few edits
// away (one edit per three characters, letter case aside) and those that contain it. Works on
// Windows-1250 bytes, one byte per character; empty when nothing is close.
std::vector<std::string> ClosestNames(std::string_view typed,
                                      const std::vector<std::string>& names);

// " (did you mean 'A', 'B' or 'C'?)" for the names, quoted in UTF-8; empty for none.
std::string DidYouMean(const std::vector<std::string>& cp1250Names);

} // namespace pinsum
