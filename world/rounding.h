#pragma once

#include <cmath>
#include <cstdint>

// Floating values become integers by rounding to the nearest, ties to even
// (pixel coordinates, colour components, wall coordinates); never by
// truncation. Values beyond the 32-bit range are held at its ends, and a NaN
// becomes 0, so that a conversion can never be undefined.
inline int32_t RoundToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return INT32_MAX;
    }
    if (value <= -2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(std::nearbyint(value));
}
