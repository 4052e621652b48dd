#pragma once

#include <string>

namespace pinsum {

// The program's own texts, keyed by their numeric identifiers, as Windows-1250 bytes. An unknown
// identifier gives an empty text.
const std::string& ProgramText(int id);

} // namespace pinsum
