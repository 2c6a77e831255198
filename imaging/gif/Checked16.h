// Range checks for the document's 16-bit signed fields and for rounding to
// 32-bit integers: values that do not fit raise instead of wrapping.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace korvane::imaging {

inline std::int16_t CheckedInt16(std::int64_t value)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        throw std::overflow_error("value does not fit 16 bits");
    }
    return static_cast<std::int16_t>(value);
}

// Round to nearest, halves to even, as every float-to-integer conversion of
// the document does.
inline std::int32_t RoundToInt32(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max())) {
        throw std::overflow_error("value does not fit 32 bits");
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace korvane::imaging
