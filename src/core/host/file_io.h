#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/engine_error.h"

namespace pinsum {

// Reads a whole file; throws FileError when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// Writes to a temporary file beside the target and renames it into place, so that a failed
// write leaves the old file whole. Throws FileError.
void WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace pinsum
