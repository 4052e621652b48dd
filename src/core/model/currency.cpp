#include "model/currency.h"

#include <algorithm>
#include <charconv>

namespace pinsum {

std::string FormatPrice(const Currency& price) {
    const bool negative = price.scaled < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(price.scaled) : static_cast<uint64_t>(price.scaled);
    std::string text = negative ? "-" : "";
    text.append(std::to_string(magnitude / 10000));
    if (const uint64_t fraction = magnitude % 10000) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        digits.erase(std::max<size_t>(digits.find_last_not_of('0') + 1, 2));
        text += "." + digits;
    }
    return text;
}

std::optional<int64_t> ParsePrice(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    const size_t dot = text.find('.');
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    std::string digits(text.substr(0, dot));
    if (digits.empty() || (dot != std::string_view::npos && fraction.empty()) ||
        fraction.size() > 4)
        return std::nullopt;
    digits.append(fraction).append(4 - fraction.size(), '0');
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    uint64_t magnitude = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const uint64_t limit = static_cast<uint64_t>(INT64_MAX) + (negative ? 1 : 0);
    if (result.ec == std::errc::result_out_of_range || magnitude > limit)
        return negative ? INT64_MIN : INT64_MAX;
    return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
}

} // namespace pinsum
