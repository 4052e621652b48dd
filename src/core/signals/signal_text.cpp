#include "signals/signal_text.h"

#include <cstdint>

namespace pinsum {
namespace {

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string NameKey(std::string_view utf8) {
    // Most types ("DI", "AI 4-20mA") are ASCII, whose normal form is itself.
    if (IsAscii(utf8)) {
        std::string key(utf8);
        for (char& c : key)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return key;
    }
    // The folding is the platform's; a text that is no UTF-8 is compared as it is.
    if (InvalidUtf8At(utf8) != std::string_view::npos)
        return std::string(utf8);
    return FoldedNormalForm(utf8);
}

std::string_view TrimBlanks(std::string_view utf8) {
    constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
    for (bool trimmed = true; trimmed && !utf8.empty();) {
        trimmed = false;
        if (utf8.front() == ' ' || utf8.front() == '\t' || utf8.front() == '\r' ||
            utf8.front() == '\n') {
            utf8.remove_prefix(1);
            trimmed = true;
        } else if (utf8.starts_with(kNoBreakSpace)) {
            utf8.remove_prefix(kNoBreakSpace.size());
            trimmed = true;
        }
        if (utf8.empty())
            break;
        if (utf8.back() == ' ' || utf8.back() == '\t' || utf8.back() == '\r' ||
            utf8.back() == '\n') {
            utf8.remove_suffix(1);
            trimmed = true;
        } else if (utf8.ends_with(kNoBreakSpace)) {
            utf8.remove_suffix(kNoBreakSpace.size());
            trimmed = true;
        }
    }
    return utf8;
}

size_t InvalidUtf8At(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ++i;
            continue;
        }
        size_t length = 0;
        uint32_t value = 0;
        uint32_t least = 0;
        if ((byte & 0xE0) == 0xC0) {
            length = 2, value = byte & 0x1F, least = 0x80;
        } else if ((byte & 0xF0) == 0xE0) {
            length = 3, value = byte & 0x0F, least = 0x800;
        } else if ((byte & 0xF8) == 0xF0) {
            length = 4, value = byte & 0x07, least = 0x10000;
        } else {
            return i;
        }
        if (i + length > text.size())
            return i;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return i;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return i;
        i += length;
    }
    return std::string_view::npos;
}

size_t Utf8Length(std::string_view text) {
    size_t length = 0;
    for (char c : text)
        length += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return length;
}

} // namespace pinsum
