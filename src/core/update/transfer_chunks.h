#pragma once

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

namespace pinsum {

// Data moves in chunks of a tenth of the file, bounded to 1,024 to 256,000 bytes.
constexpr uint32_t kMinChunk = 1024;
constexpr uint32_t kMaxChunk = 256000;

constexpr uint32_t ChunkSize(uint32_t fileSize) {
    const uint32_t tenth = fileSize / 10;
    return tenth < kMinChunk ? kMinChunk : (tenth > kMaxChunk ? kMaxChunk : tenth);
}

// Percentage moved, in 32-bit arithmetic as the progress bar expects it; an empty file is done
// at once instead of dividing by zero.
constexpr uint32_t ProgressPercent(uint32_t moved, uint32_t fileSize) {
    return fileSize == 0 ? 100 : moved * 100 / fileSize;
}

// The text after the last "/" or "\", whichever is further right.
inline std::string LastPathComponent(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A failure of the local file as the request's failure detail, from the current errno.
inline std::string LocalFileFailure(const char* what, const std::string& path) {
    return std::string(what) + " '" + path + "': " + std::strerror(errno);
}

} // namespace pinsum
