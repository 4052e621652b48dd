#include "helptext/picture_element.h"

#include <cstdio>

#include "host/hex_digit.h"

namespace pinsum {
namespace {

constexpr std::string_view kOpen = "<pict>";
constexpr std::string_view kClose = "</pict>";
constexpr size_t kCountOffset = 22;
constexpr size_t kDataOffset = 30;
constexpr uint8_t kEscape = 0xFF;

// A size field stops at its first non-hex character.
uint32_t ReadSize(std::string_view field) {
    uint32_t value = 0;
    for (const char c : field) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            break;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

std::optional<uint32_t> ReadCount(std::string_view field) {
    uint32_t value = 0;
    for (const char c : field) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

void AppendHex(std::string& out, uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    out += text;
}

// The escaped bytes, or nothing when an escape pair is cut by the end of the data.
std::optional<std::vector<uint8_t>> Unescape(std::string_view data) {
    std::vector<uint8_t> bytes;
    bytes.reserve(data.size());
    for (size_t i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<uint8_t>(data[i]);
        if (byte != kEscape) {
            bytes.push_back(byte);
            continue;
        }
        if (++i == data.size())
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(static_cast<uint8_t>(data[i]) + 2));
    }
    return bytes;
}

} // namespace

void EncodePicture(std::string& out, std::span<const uint8_t> jpeg, uint16_t displayWidth,
                   uint16_t displayHeight, uint16_t pixelWidth, uint16_t pixelHeight) {
    out.reserve(out.size() + jpeg.size() * 2 + 50);
    out += kOpen;
    for (const uint16_t size : {displayWidth, displayHeight, pixelWidth, pixelHeight})
        AppendHex(out, size, 4);
    const size_t countAt = out.size();
    out.append(8, '0');
    const size_t dataAt = out.size();
    for (const uint8_t byte : jpeg) {
        if (byte == 0x00 || byte == kEscape) {
            out += static_cast<char>(kEscape);
            out += static_cast<char>(byte - 2);
        } else {
            out += static_cast<char>(byte);
        }
    }
    std::string count;
    AppendHex(count, static_cast<uint32_t>(out.size() - dataAt), 8);
    out.replace(countAt, 8, count);
    out += kClose;
}

std::optional<PictureElement> DecodePicture(std::string_view markup, size_t pos) {
    if (pos > markup.size() || markup.size() - pos < kDataOffset ||
        markup.substr(pos, kOpen.size()) != kOpen)
        return std::nullopt;
    const std::string_view element = markup.substr(pos);
    const std::optional<uint32_t> count = ReadCount(element.substr(kCountOffset, 8));
    if (!count || *count == 0 || *count > element.size() - kDataOffset)
        return std::nullopt;
    std::optional<std::vector<uint8_t>> jpeg = Unescape(element.substr(kDataOffset, *count));
    if (!jpeg)
        return std::nullopt;

    PictureElement picture;
    picture.displayWidth = ReadSize(element.substr(6, 4));
    picture.displayHeight = ReadSize(element.substr(10, 4));
    picture.pixelWidth = ReadSize(element.substr(14, 4));
    picture.pixelHeight = ReadSize(element.substr(18, 4));
    picture.jpeg = std::move(*jpeg);
    picture.end = pos + kDataOffset + *count;
    if (markup.substr(picture.end, kClose.size()) == kClose)
        picture.end += kClose.size();
    return picture;
}

} // namespace pinsum
