#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace pinsum {

// The position just after the "}" that closes the rich-text group open at at, escaped characters
// and nested groups skipped; nothing when the text ends first.
inline std::optional<size_t> EndOfRichTextGroup(std::string_view text, size_t at) {
    size_t nested = 0;
    while (at < text.size()) {
        const char c = text[at++];
        if (c == '\\')
            ++at;
        else if (c == '{')
            ++nested;
        else if (c == '}' && nested-- == 0)
            return at;
    }
    return std::nullopt;
}

} // namespace pinsum
