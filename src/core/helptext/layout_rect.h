#pragma once

#include <cstdint>

namespace pinsum {

// A rectangle in device pixels; right and bottom lie just outside it.
struct LayoutRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool Contains(int32_t x, int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    bool operator==(const LayoutRect&) const = default;
};

} // namespace pinsum
