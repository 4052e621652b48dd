#include "picture/picture_file.h"

#include <fstream>

#include "picture/image.h"

namespace pinsum {
namespace {

// Four bytes a pixel and room for the headers and a palette.
constexpr uint64_t kMaxPictureFileBytes = kMaxPicturePixels * 4 + 65536;

} // namespace

std::optional<std::vector<uint8_t>> ReadPictureFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size <= 0 || static_cast<uint64_t>(size) > kMaxPictureFileBytes)
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        return std::nullopt;
    return bytes;
}

} // namespace pinsum
