#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pinsum {

// The count dialog's edit field hands over at most this many characters.
constexpr std::size_t kCountFieldLength = 63;

constexpr int32_t kCountMin = 0;
constexpr int32_t kCountMax = 10000;

struct CountParseResult {
    bool ok = false;
    int32_t value = 0;
    // The message box text (Windows-1250) when not ok; empty otherwise.
    std::string message;
};

// Reads the count field's text (Windows-1250) as a whole number between min and max. Blanks may
// lead, one sign may start the number, a decimal separator may end it; an empty field is 0.
CountParseResult ParseCount(std::string_view text, int32_t min = kCountMin,
                            int32_t max = kCountMax);

} // namespace pinsum
