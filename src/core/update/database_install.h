#pragma once

#include <string>

namespace pinsum {

// True when the file holds a catalogue database that loads without damage: the catalogue's magic,
// a database object, contents that read to their end. Otherwise says why in problem, when given.
// Reports no load progress.
bool IsReadableCatalogue(const std::string& path, std::string* problem = nullptr);

// Moves the file over the target in one step, so that on any failure the target is still the old
// file. False on failure.
bool ReplaceFileAtomically(const std::string& from, const std::string& to);

} // namespace pinsum
