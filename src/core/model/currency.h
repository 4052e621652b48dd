#pragma once

#include <cstdint>
#include <string>

namespace pinsum {

// A money amount: 64 bits scaled by 10 000 and a status word (0 = valid), stored as 12 bytes.
struct Currency {
    int32_t status = 0;
    int64_t scaled = 0;

    // Arithmetic uses the whole-unit part only; the remainder is dropped.
    double Numeric() const { return static_cast<double>(scaled / 10000); }

    bool operator==(const Currency&) const = default;
};

// Prices are shown as whole numbers, the fraction cut off.
inline std::string WholeUnitsText(double value) {
    return std::to_string(static_cast<long long>(value));
}

} // namespace pinsum
