#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pinsum {

// A money amount: 64 bits scaled by 10 000 and a status word (0 = valid), stored as 12 bytes.
struct Currency {
    int32_t status = 0;
    int64_t scaled = 0;

    // Arithmetic uses the whole-unit part only; the remainder is dropped.
    double Numeric() const { return static_cast<double>(scaled / 10000); }

    bool operator==(const Currency&) const = default;
};

// The largest price of a module or device, 999,999,999.9999 scaled; no price is negative. The
// readers and the JSON import refuse others, so that no sum the search forms can wrap: a
// configuration's scaled sum stays within 64 bits for 922,337 priced items, and a solution's
// whole-unit sum stays exact in a double for 9,007,199 (2^53 / 10^9).
inline constexpr int64_t kMaxPriceScaled = 9'999'999'999'999;

inline bool IsCataloguePrice(const Currency& price) {
    return price.scaled >= 0 && price.scaled <= kMaxPriceScaled;
}

// A price as a decimal text: whole units alone ("8900"), otherwise with two to four decimal
// places ("1250.50", "1250.0001").
std::string FormatPrice(const Currency& price);

// The scaled amount of a decimal text with at most four decimal places and an optional '-'
// ("1250.5", "-3"); a magnitude beyond 64 bits gives INT64_MAX or INT64_MIN, so that it reads
// as out of range. Nothing for a text that is no such number.
std::optional<int64_t> ParsePrice(std::string_view text);

// Prices are shown as whole numbers, the fraction cut off.
inline std::string WholeUnitsText(double value) {
    return std::to_string(static_cast<long long>(value));
}

} // namespace pinsum
