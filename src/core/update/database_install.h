#pragma once

#include <string>

namespace pinsum {

// True when the file holds a catalogue database that loads without damage: the catalogue's magic,
// a database object, contents that read to their end. Otherwise says why in problem, when given.
// Reports no load progress.
bool IsReadableCatalogue(const std::string& path, std::string* problem = nullptr);

} // namespace pinsum
